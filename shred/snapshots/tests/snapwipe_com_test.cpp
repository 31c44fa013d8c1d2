#include "core/unique_handle.h"
#include "shred/snapshots/progress_window.h"
#include "shred/snapshots/snapwipe_identity.h"
#include "shred/snapshots/snapwipe_registration.h"
#include "shred/snapshots/tests/snapwipe_dll_support.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <string>
#include <vector>

namespace shred::snapshots {
namespace {

using testing::BesideTest;
using testing::DialogWindow;
using testing::KeyExists;
using testing::Received;
using testing::RunRegsvr32;

using SnapwipeCom = testing::RegisteredSnapwipe;

TEST_F(SnapwipeCom, RegistersEveryValueAndRemovesTheClassKeys)
{
    for (const RegistryValue& value : SnapwipeRegistryValues(m_dll)) {
        HKEY raw = nullptr;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_CLASSES_ROOT, value.key.c_str(), 0, KEY_READ, &raw),
                  ERROR_SUCCESS);
        core::UniqueKey key(raw);
        BYTE data[2048] = {};
        DWORD size = sizeof data, type = 0;
        ASSERT_EQ(::RegQueryValueExW(key.Get(), value.name.empty() ? nullptr : value.name.c_str(),
                                     nullptr, &type, data, &size),
                  ERROR_SUCCESS);
        if (value.isDword) {
            EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
            EXPECT_EQ(*reinterpret_cast<DWORD*>(data), value.number);
        } else {
            EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
            EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(data)), value.text);
        }
    }
    ASSERT_EQ(RunRegsvr32(L"/u \"" + m_dll + L"\""), 0u);
    for (const std::wstring& key : SnapwipeRemovedKeys())
        EXPECT_FALSE(KeyExists(key));
    EXPECT_TRUE(KeyExists(L"CLSID"));
    EXPECT_TRUE(KeyExists(L"AppID"));
}

TEST_F(SnapwipeCom, TypeLibraryRegisteredAndRemoved)
{
    ITypeLib* raw = nullptr;
    ASSERT_EQ(::LoadRegTypeLib(kSnapwipeLibId, 1, 0, LANG_NEUTRAL, &raw), S_OK);
    std::unique_ptr<ITypeLib, void (*)(ITypeLib*)> library(raw, [](ITypeLib* p) { p->Release(); });
    struct Case
    {
        const GUID* guid;  // NULL: the library itself
        const wchar_t* name;
        const wchar_t* help;
    };
    for (const Case& c :
         std::vector<Case>{{nullptr, L"SnapwipeLib", L"Snapwipe 1.0 Type Library"},
                           {&kISnapwipeoIid, L"ISnapwipeo", L"ISnapwipeo Interface"},
                           {&kSnapwipeoClsid, L"Snapwipeo", L"Snapwipeo Class"}}) {
        BSTR name = nullptr, help = nullptr;
        if (c.guid) {
            ITypeInfo* info = nullptr;
            ASSERT_EQ(library->GetTypeInfoOfGuid(*c.guid, &info), S_OK) << c.name;
            info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr);
            info->Release();
        } else {
            library->GetDocumentation(-1, &name, &help, nullptr, nullptr);
        }
        EXPECT_STREQ(name, c.name);
        EXPECT_STREQ(help, c.help);
        ::SysFreeString(name);
        ::SysFreeString(help);
    }
    library.reset();
    ASSERT_EQ(RunRegsvr32(L"/u \"" + m_dll + L"\""), 0u);
    EXPECT_FALSE(KeyExists(L"TypeLib\\{167E5747-3214-4C21-9A67-E5D46DB07DBF}"));
}

TEST_F(SnapwipeCom, ElevationPromptNameIsAResourceString)
{
    core::UniqueModule module(::LoadLibraryExW(m_dll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    wchar_t text[64] = {};
    ::LoadStringW(module.Get(), 100, text, 64);
    EXPECT_STREQ(text, L"Shredding Support Component");
}

// Wine's shadow-copy service cannot create its backup object, so no drive counts as snapshotted
// and only the cancel queries reach the window.
TEST_F(SnapwipeCom, CreatedByClassAndTalksToTheDialogWindow)
{
    ISnapwipeo* raw = nullptr;
    ASSERT_EQ(::CoCreateInstance(kSnapwipeoClsid, nullptr, CLSCTX_INPROC_SERVER, kISnapwipeoIid,
                                 reinterpret_cast<void**>(&raw)),
              S_OK);
    std::unique_ptr<ISnapwipeo, void (*)(ISnapwipeo*)> object(raw,
                                                              [](ISnapwipeo* p) { p->Release(); });

    DialogWindow window;
    ASSERT_TRUE(window.Get());
    short dialog = window.Handle16();

    struct Case
    {
        const wchar_t* letters;
        bool cancel;
        HRESULT expected;
        std::vector<Received> received;
    };
    const Received query{kMsgQueryCancel, 0, kCancelQueryParam};
    const std::vector<Case> cases = {
        {L"", false, 1, {}},
        {L"Q", false, 1, {query}},
        {L"QR", true, -10, {query, {kMsgQueryCancel, 0, kCancelledParam}, {kMsgPercent, 1, 0}}},
    };
    for (const Case& c : cases) {
        DialogWindow::received.clear();
        DialogWindow::cancel = c.cancel;
        BSTR letters = ::SysAllocString(c.letters);
        EXPECT_EQ(object->VNTRemovePV(letters, 7, &dialog), c.expected);
        ::SysFreeString(letters);
        EXPECT_EQ(DialogWindow::received, c.received);
    }
}

// The region exports as callers bind them: by decorated name, Snapwipe's algorithm set.
TEST(SnapwipeRegionExports, OverwriteARangeWithSnapwipesAlgorithms)
{
    core::UniqueModule module(::LoadLibraryW(BesideTest(L"Snapwipe.dll").c_str()));
    ASSERT_TRUE(module);
    using Create = void*(__stdcall*)(wchar_t*);
    using Part = int(__stdcall*)(void*, int, unsigned long, long, unsigned long, long);
    using Close = int(__stdcall*)(void*);
    const auto create = reinterpret_cast<Create>(
        ::GetProcAddress(module.Get(), "?VNTCreateFileHandle@@YAPEAXPEA_W@Z"));
    const auto part =
        reinterpret_cast<Part>(::GetProcAddress(module.Get(), "?VNTShredFilePart@@YAHPEAXHKJKJ@Z"));
    const auto close =
        reinterpret_cast<Close>(::GetProcAddress(module.Get(), "?VNTCloseFileHandle@@YAHPEAX@Z"));
    ASSERT_TRUE(create && part && close);

    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"snapwipe_region.bin";
    {
        core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        const std::vector<char> zeros(64, 0);
        DWORD written = 0;
        ::WriteFile(file.Get(), zeros.data(), 64, &written, nullptr);
    }
    void* handle = create(path.data());
    ASSERT_NE(handle, nullptr);
    struct Case
    {
        int algorithmId;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{7, -100}, {100, -2}, {13, -2}})
        EXPECT_EQ(part(handle, c.algorithmId, 16, 0, 32, 0), c.expected) << c.algorithmId;
    EXPECT_EQ(close(handle), 1);

    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    char bytes[64] = {};
    DWORD read = 0;
    ::ReadFile(file.Get(), bytes, 64, &read, nullptr);
    file.Reset();
    ::DeleteFileW(path.c_str());
    ASSERT_EQ(read, 64u);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(bytes[i], i >= 16 && i < 48 ? 0x61 : 0) << i;
}

}  // namespace
}  // namespace shred::snapshots
