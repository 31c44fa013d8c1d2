#include "setup/engine/statements/register_server_win32.h"

#include <ole2.h>
#include <oleauto.h>
#include <windows.h>

#include "core/scope_guard.h"
#include "core/text_convert.h"
#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/statements/launch_plan.h"
#include "setup/engine/system/file_utils_win32.h"

namespace setup::engine {

namespace {

using UnRegisterTypeLibFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
using ServerEntryFunction = HRESULT(STDAPICALLTYPE*)();

void Check(HRESULT result)
{
    if (FAILED(result))
        throw rtl::Exception("type library call failed");
}

std::string CurrentFolder()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetCurrentDirectoryA(sizeof(buffer), buffer);
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

template <typename Interface>
struct ComRelease
{
    Interface* pointer = nullptr;
    ~ComRelease()
    {
        if (pointer != nullptr)
            pointer->Release();
    }
};

}  // namespace

bool RegisterServerFile(const std::string& path, bool registering)
{
    const HRESULT ole = ::OleInitialize(nullptr);
    const std::string remembered = CurrentFolder();
    const auto restore = core::MakeScopeGuard([&] {
        if (!remembered.empty())
            ::SetCurrentDirectoryA(remembered.c_str());
        if (SUCCEEDED(ole))
            ::OleUninitialize();
    });
    const std::string folder = FolderOf(path);
    if (!folder.empty())
        ::SetCurrentDirectoryA(folder.c_str());
    try {
        switch (ServerFileKindOf(path)) {
            case ServerFileKind::TypeLibrary:
                return RegisterTypeLibraryFile(path, registering);
            case ServerFileKind::Program:
                return RegisterServerProgram(path, registering);
            case ServerFileKind::Library:
                return RegisterServerLibrary(path, registering);
        }
    } catch (...) {
    }
    return false;
}

bool RegisterTypeLibraryFile(const std::string& path, bool registering)
{
    if (!FileExistsAnsi(path))
        return false;
    std::wstring widePath = core::AnsiToWide(path);
    ComRelease<ITypeLib> library;
    Check(::LoadTypeLib(widePath.c_str(), &library.pointer));
    TLIBATTR* attributes = nullptr;
    Check(library.pointer->GetLibAttr(&attributes));
    const auto release =
        core::MakeScopeGuard([&] { library.pointer->ReleaseTLibAttr(attributes); });
    if (registering) {
        BSTR helpFile = nullptr;
        Check(library.pointer->GetDocumentation(-1, nullptr, nullptr, nullptr, &helpFile));
        const auto freeHelp = core::MakeScopeGuard([&] { ::SysFreeString(helpFile); });
        std::wstring helpFolder;
        if (helpFile != nullptr) {
            const std::wstring text(helpFile);
            const std::size_t last = text.find_last_of(L"\\:");
            if (last != std::wstring::npos)
                helpFolder = text.substr(0, last + 1);
        }
        Check(::RegisterTypeLib(library.pointer, widePath.data(),
                                helpFolder.empty() ? nullptr : helpFolder.data()));
        return true;
    }
    const HMODULE oleaut = ::GetModuleHandleA("OLEAUT32.DLL");
    const auto unregister =
        oleaut == nullptr ? nullptr
                          : reinterpret_cast<UnRegisterTypeLibFunction>(reinterpret_cast<void*>(
                                ::GetProcAddress(oleaut, "UnRegisterTypeLib")));
    if (unregister == nullptr)
        return false;
    Check(unregister(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                     attributes->lcid, attributes->syskind));
    return true;
}

bool RegisterServerProgram(const std::string& path, bool registering)
{
    // Quoted, so a blank in the path cannot start a different program.
    std::string commandLine = RegisterServerCommandLine(path, registering);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &info))
        return false;
    const core::UniqueProcess process(info.hProcess);
    const core::UniqueThread thread(info.hThread);
    return true;
}

bool RegisterServerLibrary(const std::string& path, bool registering)
{
    const core::UniqueModule library(::LoadLibraryA(path.c_str()));
    if (!library)
        return false;
    const auto entry =
        reinterpret_cast<ServerEntryFunction>(reinterpret_cast<void*>(::GetProcAddress(
            library.Get(), registering ? "DllRegisterServer" : "DllUnregisterServer")));
    return entry != nullptr && entry() == S_OK;
}

}  // namespace setup::engine
