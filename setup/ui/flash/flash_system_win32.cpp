#include "setup/ui/flash/flash_system_win32.h"

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include "core/unique_handle.h"
#include "setup/ui/window_peer_win32.h"

namespace setup::ui {

namespace {

constexpr DISPID kMovieProperty = 102;
constexpr DISPID kLoopProperty = 106;

using AtlAxWinInitProc = BOOL(WINAPI*)();
using AtlAxAttachControlProc = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);

// atl.dll's host window class, loaded once per process and kept: windows of it may outlive any
// one frame.
struct AtlHost
{
    AtlAxAttachControlProc attach = nullptr;
    bool ready = false;
};

const AtlHost& Atl()
{
    static const AtlHost host = [] {
        AtlHost loaded;
        HMODULE atl = ::LoadLibraryA("atl.dll");
        if (!atl)
            return loaded;
        auto init = reinterpret_cast<AtlAxWinInitProc>(::GetProcAddress(atl, "AtlAxWinInit"));
        loaded.attach =
            reinterpret_cast<AtlAxAttachControlProc>(::GetProcAddress(atl, "AtlAxAttachControl"));
        loaded.ready = init && loaded.attach && init();
        return loaded;
    }();
    return host;
}

template <class Interface>
class ComRef
{
public:
    ComRef() = default;
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface* Get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    Interface** Out()
    {
        Reset();
        return &m_pointer;
    }
    void Reset()
    {
        if (m_pointer)
            m_pointer->Release();
        m_pointer = nullptr;
    }

private:
    Interface* m_pointer = nullptr;
};

class BString
{
public:
    explicit BString(const std::string& text)
    {
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        m_text = ::SysAllocStringLen(nullptr, static_cast<UINT>(length > 0 ? length - 1 : 0));
        if (m_text && length > 0)
            ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, m_text, length);
    }
    ~BString() { ::SysFreeString(m_text); }
    BString(const BString&) = delete;
    BString& operator=(const BString&) = delete;
    BSTR Get() const { return m_text; }

private:
    BSTR m_text = nullptr;
};

class HostedPlayer final : public IFlashPlayer
{
public:
    HostedPlayer(HWND host, IUnknown& control) : m_host(host)
    {
        control.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(m_dispatch.Out()));
        control.QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(m_inPlace.Out()));
    }
    ~HostedPlayer() override
    {
        m_dispatch.Reset();
        m_inPlace.Reset();
        // The host window lets go of the control as it goes.
        ::DestroyWindow(m_host);
    }

    bool SetMovie(const std::string& path) override
    {
        BString text(path);
        VARIANT value;
        ::VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = text.Get();
        return Put(kMovieProperty, value);
    }

    std::optional<int> PercentLoaded() override
    {
        VARIANT result;
        ::VariantInit(&result);
        if (!Call(L"PercentLoaded", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &result))
            return std::nullopt;
        std::optional<int> percent;
        if (SUCCEEDED(::VariantChangeType(&result, &result, 0, VT_I4)))
            percent = result.lVal;
        ::VariantClear(&result);
        return percent;
    }

    bool SetLoop(bool loop) override
    {
        VARIANT value;
        ::VariantInit(&value);
        value.vt = VT_BOOL;
        value.boolVal = loop ? VARIANT_TRUE : VARIANT_FALSE;
        return Put(kLoopProperty, value);
    }

    void Play() override { Call(L"Play", DISPATCH_METHOD, nullptr); }
    void Stop() override { Call(L"Stop", DISPATCH_METHOD, nullptr); }

    void Place(const TRect& bounds) override
    {
        ::MoveWindow(m_host, bounds.left, bounds.top, bounds.Width(), bounds.Height(), TRUE);
    }

    void Activate() override
    {
        HWND window = nullptr;
        if (!m_inPlace.Get() || FAILED(m_inPlace->GetWindow(&window)) || !window)
            window = ::GetWindow(m_host, GW_CHILD);
        ::SendMessageA(window ? window : m_host, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    }

private:
    bool Put(DISPID property, VARIANT& value)
    {
        if (!m_dispatch.Get())
            return false;
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS parameters{&value, &named, 1, 1};
        return SUCCEEDED(m_dispatch->Invoke(property, IID_NULL, LOCALE_USER_DEFAULT,
                                            DISPATCH_PROPERTYPUT, &parameters, nullptr, nullptr,
                                            nullptr));
    }

    bool Call(const wchar_t* name, WORD flags, VARIANT* result)
    {
        if (!m_dispatch.Get())
            return false;
        auto* names = const_cast<LPOLESTR>(name);
        DISPID id = DISPID_UNKNOWN;
        if (FAILED(m_dispatch->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &id)))
            return false;
        DISPPARAMS none{};
        return SUCCEEDED(m_dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &none,
                                            result, nullptr, nullptr));
    }

    HWND m_host;
    ComRef<IDispatch> m_dispatch;
    ComRef<IOleInPlaceObject> m_inPlace;
};

void FindBelow(const std::string& folder, const std::string& pattern,
               std::vector<std::string>& found)
{
    WIN32_FIND_DATAA data{};
    if (core::UniqueFind files(::FindFirstFileA((folder + "\\" + pattern).c_str(), &data)); files) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                found.push_back(folder + "\\" + data.cFileName);
        } while (::FindNextFileA(files.Get(), &data));
    }
    core::UniqueFind folders(::FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!folders)
        return;
    do {
        const std::string name = data.cFileName;
        // Links to folders elsewhere are not followed: they can loop.
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && name != "." && name != "..")
            FindBelow(folder + "\\" + name, pattern, found);
    } while (::FindNextFileA(folders.Get(), &data));
}

}  // namespace

Win32FlashSystem::Win32FlashSystem() = default;

Win32FlashSystem::~Win32FlashSystem()
{
    if (m_oleJoined)
        ::OleUninitialize();
}

std::string Win32FlashSystem::SystemFolder()
{
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

std::vector<std::string> Win32FlashSystem::FindFilesBelow(const std::string& folder,
                                                          const std::string& pattern)
{
    std::vector<std::string> found;
    if (!folder.empty())
        FindBelow(folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder, pattern,
                  found);
    return found;
}

std::optional<std::uint64_t> Win32FlashSystem::FileVersion(const std::string& path)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<std::uint8_t> block(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return (static_cast<std::uint64_t>(info->dwFileVersionMS) << 32) | info->dwFileVersionLS;
}

bool Win32FlashSystem::CopyOver(const std::string& from, const std::string& to)
{
    return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool Win32FlashSystem::RegisterServer(const std::string& path)
{
    HMODULE library = ::LoadLibraryA(path.c_str());
    if (!library)
        return false;
    using RegisterProc = HRESULT(STDAPICALLTYPE*)();
    auto registerServer =
        reinterpret_cast<RegisterProc>(::GetProcAddress(library, "DllRegisterServer"));
    const bool registered = registerServer && SUCCEEDED(registerServer());
    ::FreeLibrary(library);
    return registered;
}

std::vector<std::uint8_t> Win32FlashSystem::ReadFileStart(const std::string& path,
                                                          std::size_t count)
{
    core::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::vector<std::uint8_t> bytes(count);
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(count), &read, nullptr))
        return {};
    bytes.resize(read);
    return bytes;
}

PlayerCreation Win32FlashSystem::CreatePlayer(TFlashFrame& frame)
{
    PlayerCreation created;
    if (!m_oleJoined)
        m_oleJoined = SUCCEEDED(::OleInitialize(nullptr));
    frame.HandleNeeded();
    const AtlHost& atl = Atl();
    if (!atl.ready)
        return created;
    CLSID playerClass{};
    wchar_t classText[64] = {};
    ::MultiByteToWideChar(CP_ACP, 0, kFlashPlayerClassId, -1, classText, 64);
    if (FAILED(::CLSIDFromString(classText, &playerClass)))
        return created;
    ComRef<IUnknown> control;
    if (FAILED(::CoCreateInstance(playerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(control.Out())))) {
        created.notRegistered = true;
        return created;
    }
    const TRect client = frame.ClientRect();
    HWND host = ::CreateWindowExA(0, "AtlAxWin", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                                  0, client.Width(), client.Height(), WindowOf(frame), nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!host)
        return created;
    if (FAILED(atl.attach(control.Get(), host, nullptr))) {
        ::DestroyWindow(host);
        return created;
    }
    created.player = std::make_unique<HostedPlayer>(host, *control.Get());
    return created;
}

}  // namespace setup::ui
