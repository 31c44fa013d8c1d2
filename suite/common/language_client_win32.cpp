#include "suite/common/language_client_win32.h"

#include "core/cstring_abi.h"
#include "suite/common/language_choice.h"
#include "suite/common/library_path.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace suite {
namespace {

using StringByStringFunction = core::CStringW(WINAPI*)(int, core::CStringW);
using StringByStringWFunction = wchar_t*(WINAPI*)(int, const wchar_t*);
using BitmapIdFunction = int(WINAPI*)(int, core::CStringW);

constexpr int kTextColumn = 1;
constexpr int kBitmapLanguage = 1;

template <typename F>
F Bind(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<F>(::GetProcAddress(module, name)) : nullptr;
}

int BitmapIdOf(BitmapIdFunction getBitmapId, std::wstring_view name)
{
    return getBitmapId(kBitmapLanguage, core::CStringCreate(name));
}

}  // namespace

std::wstring TakeGlobalText(HGLOBAL block)
{
    if (!block)
        return {};
    std::wstring text;
    if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(block))) {
        // The block's own size bounds the text, terminated or not.
        const std::size_t capacity = ::GlobalSize(block) / sizeof(wchar_t);
        text.assign(chars, ::wcsnlen(chars, capacity));
        ::GlobalUnlock(block);
    }
    ::GlobalFree(block);
    return text;
}

CVNTLanguageClient::CVNTLanguageClient(ISuiteLocator& locator, IUserMessages& messages,
                                       LanguageClientSetup setup)
    : m_locator(locator), m_messages(messages), m_setup(std::move(setup))
{
    Construct();
}

CVNTLanguageClient::~CVNTLanguageClient()
{
    for (LanguageEntry& entry : m_entries) {
        if (entry.module)
            ::FreeLibrary(static_cast<HMODULE>(entry.module));
    }
}

void CVNTLanguageClient::Construct()
{
    std::wstring folder = m_locator.SuiteLibraryFolder(m_setup.baseLibrary);
    std::wstring path;
    if (!folder.empty()) {
        path = JoinLibraryPath(folder, m_setup.baseLibrary);
        folder = FolderOfPath(path);
    } else {
        folder = m_locator.ModuleFolder();
        path = folder + m_setup.baseLibrary;
    }

    m_baseLibrary.Reset(::LoadLibraryW(path.c_str()));
    if (!m_baseLibrary) {
        m_messages.Show(MissingLibraryMessage(m_setup.baseLibrary), {}, MessageIcon::Error);
        return;
    }
    if (!BindBaseExports())
        return;

    const int offered = m_getAmountLanguages(folder.c_str(), m_setup.pattern.c_str(),
                                             m_setup.productVersion.c_str());
    if (offered <= 0) {
        m_messages.Show(L"No language files were found! Please reinstall your product.",
                        L"Resource not found", MessageIcon::Error);
    } else {
        AllocateEntries(offered);
        const int filled = m_getLanguages(folder.c_str(), m_setup.pattern.c_str(),
                                          m_setup.productVersion.c_str(), m_entries.data());
        m_count = ClampLanguageCount(filled, offered);
        if (m_setup.use == LanguageLibraryUse::KeepLoaded && !LoadEntryLibraries())
            return;
    }
    VNTGetCurrentLanguage();
}

bool CVNTLanguageClient::BindBaseExports()
{
    struct Export
    {
        const char* name;
        const wchar_t* wideName;
        FARPROC* slot;
    };
    const Export exports[] = {
        {"GetAmountLanguages", L"GetAmountLanguages",
         reinterpret_cast<FARPROC*>(&m_getAmountLanguages)},
        {"GetLanguages", L"GetLanguages", reinterpret_cast<FARPROC*>(&m_getLanguages)},
        {"GetCurrentLanguage", L"GetCurrentLanguage",
         reinterpret_cast<FARPROC*>(&m_getCurrentLanguage)},
        {"SetCurrentLanguage", L"SetCurrentLanguage", &m_setCurrentLanguage},
    };
    for (const Export& e : exports) {
        if (e.slot == &m_setCurrentLanguage && !m_setup.requireSetCurrentLanguage)
            continue;
        *e.slot = ::GetProcAddress(m_baseLibrary.Get(), e.name);
        if (!*e.slot) {
            m_messages.Show(MissingExportMessage(m_setup.baseLibrary, e.wideName), {},
                            MessageIcon::Error);
            m_baseLibrary.Reset();
            m_getAmountLanguages = nullptr;
            m_getLanguages = nullptr;
            m_getCurrentLanguage = nullptr;
            m_setCurrentLanguage = nullptr;
            return false;
        }
    }
    return true;
}

void CVNTLanguageClient::AllocateEntries(int count)
{
    m_entries.assign(static_cast<std::size_t>(count), LanguageEntry{});
    for (LanguageEntry& entry : m_entries) {
        auto buffer = [this](std::size_t capacity) {
            m_buffers.emplace_back(new wchar_t[capacity]());
            return m_buffers.back().get();
        };
        entry.code = buffer(kCodeChars);
        entry.name = buffer(kNameChars);
        entry.path = buffer(kPathChars);
        entry.extra = buffer(kExtraChars);
    }
}

bool CVNTLanguageClient::LoadEntryLibraries()
{
    for (int i = 0; i < m_count; ++i) {
        LanguageEntry& entry = m_entries[static_cast<std::size_t>(i)];
        const std::wstring path = EntryPath(i);
        HMODULE module = ::LoadLibraryW(path.c_str());
        entry.module = module;
        entry.getBitmapId = reinterpret_cast<void*>(Bind<FARPROC>(module, "GetBitmapId"));
        if (!entry.getBitmapId) {
            m_messages.Show(MissingExportMessage(m_setup.baseLibrary, L"GetBitmapId"), {},
                            MessageIcon::Error);
            return false;
        }
    }
    return true;
}

std::wstring CVNTLanguageClient::EntryPath(int index) const
{
    const LanguageEntry& entry = m_entries[static_cast<std::size_t>(index)];
    // The base library wrote it; the buffer's size bounds it even without a terminator.
    return std::wstring(entry.path, ::wcsnlen(entry.path, kPathChars));
}

int CVNTLanguageClient::VNTGetCurrentLanguage()
{
    if (!m_getCurrentLanguage)
        return m_currentIndex;
    const std::wstring current = TakeGlobalText(m_getCurrentLanguage());
    std::printf("VNTGetCurrentLanguage: %ls\n", current.c_str());
    std::vector<std::wstring_view> codes;
    for (int i = 0; i < m_count; ++i) {
        const LanguageEntry& entry = m_entries[static_cast<std::size_t>(i)];
        codes.emplace_back(entry.code, ::wcsnlen(entry.code, kCodeChars));
    }
    m_currentIndex = ChooseLanguageIndex(codes, current);
    return m_currentIndex;
}

std::wstring CVNTLanguageClient::CallGetString(HMODULE module, std::wstring_view key)
{
    const auto getString = Bind<StringByStringFunction>(module, "GetStringByString");
    if (!getString) {
        m_messages.Show(MissingExportMessage(m_setup.baseLibrary, L"GetStringByString"), {},
                        MessageIcon::Error);
        return {};
    }
    // The callee releases the key; the result is released here, before the library can go.
    core::CStringW result = getString(kTextColumn, core::CStringCreate(key));
    std::wstring text(core::CStringView(result));
    core::CStringRelease(result);
    return text;
}

std::wstring CVNTLanguageClient::GetString(std::wstring_view key, int languageIndex)
{
    if (m_count == 0)
        return {};
    const int index = EntryIndexFor(languageIndex, m_count);
    const std::wstring path = EntryPath(index);
    if (m_setup.use == LanguageLibraryUse::LoadPerCall) {
        core::UniqueModule module(::LoadLibraryW(path.c_str()));
        if (!module) {
            m_messages.Show(MissingLanguageLibraryMessage(path), {}, MessageIcon::Error);
            return {};
        }
        return CallGetString(module.Get(), key);
    }
    HMODULE module = static_cast<HMODULE>(m_entries[static_cast<std::size_t>(index)].module);
    if (!module) {
        m_messages.Show(MissingLanguageLibraryMessage(path), {}, MessageIcon::Error);
        return {};
    }
    return CallGetString(module, key);
}

std::optional<LanguageImage> CVNTLanguageClient::FindImage(std::wstring_view name,
                                                           int languageIndex)
{
    if (m_count == 0 || m_setup.use != LanguageLibraryUse::KeepLoaded)
        return std::nullopt;
    const int index = EntryIndexFor(languageIndex == -1 ? m_currentIndex : languageIndex, m_count);
    const LanguageEntry& entry = m_entries[static_cast<std::size_t>(index)];
    const auto getBitmapId = reinterpret_cast<BitmapIdFunction>(entry.getBitmapId);
    if (!entry.module || !getBitmapId) {
        m_messages.Show(MissingLibraryMessage(m_setup.baseLibrary), {}, MessageIcon::Error);
        return std::nullopt;
    }
    const int id = BitmapIdOf(getBitmapId, name);
    if (id == -1) {
        m_messages.Show(L"Could not locate image in dll. (GetBitmapId)", {}, MessageIcon::Error);
        return std::nullopt;
    }
    return LanguageImage{static_cast<HMODULE>(entry.module), id};
}

HBITMAP CVNTLanguageClient::LoadBitmap(std::wstring_view name, int languageIndex)
{
    if (m_count == 0)
        return nullptr;
    // A requested index outside the table reads entry 0, as texts do.
    const int index = EntryIndexFor(
        languageIndex == -1 && m_setup.use == LanguageLibraryUse::KeepLoaded ? m_currentIndex
                                                                             : languageIndex,
        m_count);
    core::UniqueModule loadedHere;
    HMODULE module = static_cast<HMODULE>(m_entries[static_cast<std::size_t>(index)].module);
    if (m_setup.use == LanguageLibraryUse::LoadPerCall) {
        loadedHere.Reset(::LoadLibraryW(EntryPath(index).c_str()));
        module = loadedHere.Get();
    }
    const auto getBitmapId = Bind<BitmapIdFunction>(module, "GetBitmapId");
    if (!getBitmapId) {
        m_messages.Show(MissingLibraryMessage(m_setup.baseLibrary), {}, MessageIcon::Error);
        return nullptr;
    }
    const int id = BitmapIdOf(getBitmapId, name);
    if (id == -1) {
        m_messages.Show(L"Could not locate image in dll.", {}, MessageIcon::Error);
        return nullptr;
    }
    return ::LoadBitmapW(module, MAKEINTRESOURCEW(id));
}

std::wstring CVNTLanguageClient::BaseLibraryPathForCode()
{
    return JoinLibraryPath(m_locator.SuiteLibraryFolder(m_setup.baseLibrary), m_setup.baseLibrary);
}

std::wstring CVNTLanguageClient::GetCurrentLanguageCode()
{
    core::UniqueModule base(::LoadLibraryW(BaseLibraryPathForCode().c_str()));
    const auto getCurrent = Bind<CurrentFunction>(base.Get(), "GetCurrentLanguage");
    if (!getCurrent) {
        m_messages.Show(MissingLibraryMessage(m_setup.baseLibrary), {}, MessageIcon::Error);
        return {};
    }
    return TakeGlobalText(getCurrent());
}

wchar_t* CVNTLanguageClient::GetStringW(std::wstring_view key)
{
    if (m_count == 0)
        return nullptr;
    const std::wstring path = EntryPath(EntryIndexFor(m_currentIndex, m_count));
    core::UniqueModule module(::LoadLibraryW(path.c_str()));
    if (!module) {
        m_messages.Show(MissingLanguageLibraryMessage(path), {}, MessageIcon::Error);
        return nullptr;
    }
    const auto getStringW = Bind<StringByStringWFunction>(module.Get(), "GetStringByStringW");
    if (!getStringW) {
        m_messages.Show(MissingExportMessage(m_setup.baseLibrary, L"GetStringByStringW"), {},
                        MessageIcon::Error);
        return nullptr;
    }
    const std::wstring keyText(key);
    const wchar_t* text = getStringW(kTextColumn, keyText.c_str());
    const std::size_t length = text ? std::wcslen(text) : 0;
    auto* copy = static_cast<wchar_t*>(std::malloc((length + 1) * sizeof(wchar_t)));
    if (!copy)
        return nullptr;
    if (length)
        std::memcpy(copy, text, length * sizeof(wchar_t));
    copy[length] = L'\0';
    return copy;
}

void CVNTLanguageClient::ApplyLanguageCodes(const std::function<void(std::wstring_view)>& receiver,
                                            int languageIndex)
{
    receiver(GetString(L"Language_codes", languageIndex));
}

}  // namespace suite
