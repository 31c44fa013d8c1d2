#include "setup/media/download/light_downloader_win32.h"

#include <urlmon.h>
#include <windows.h>

#include <stdexcept>

#include "core/scope_guard.h"
#include "core/text_convert.h"
#include "core/unique_handle.h"
#include "setup/media/download/light_status.h"

namespace download {

namespace {

using DownloadToFileFunction = HRESULT(WINAPI*)(LPUNKNOWN, LPCSTR, LPCSTR, DWORD,
                                                LPBINDSTATUSCALLBACK);
using DownloadToCacheFileFunction = HRESULT(WINAPI*)(LPUNKNOWN, LPCSTR, LPSTR, DWORD, DWORD,
                                                     LPBINDSTATUSCALLBACK);
using SetOptionFunction = BOOL(WINAPI*)(void*, DWORD, void*, DWORD);

constexpr DWORD kOptionUserName = 28;
constexpr DWORD kOptionPassword = 29;

std::string SystemText(HRESULT code)
{
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length == 0 ? std::string() : std::string(buffer, length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

std::string Narrow(LPCWSTR text)
{
    return text == nullptr ? std::string() : core::WideToAnsi(text);
}

// The status callback the service calls during the transfer. It also negotiates the HTTP
// transaction, which is the only place the service tells the server's status. The service holds
// it by reference count, so it may outlive the transfer's thread: once that thread was ended by
// force it answers every call without reaching the binding, which lived on that thread's stack.
class UrlCallback : public IBindStatusCallback, public IHttpNegotiate
{
public:
    UrlCallback(LightBinding& binding, std::shared_ptr<LightTransferControl> control)
        : m_binding(binding), m_control(std::move(control))
    {}
    virtual ~UrlCallback() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBindStatusCallback))
            *object = static_cast<IBindStatusCallback*>(this);
        else if (IsEqualIID(iid, IID_IHttpNegotiate))
            *object = static_cast<IHttpNegotiate*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* serviceBinding) override
    {
        if (Abandoned())
            return E_ABORT;
        if (m_control && !m_control->Started(serviceBinding))
            return E_ABORT;
        return m_binding.Begin();
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override
    {
        return Abandoned() ? S_OK : m_binding.LowResource();
    }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG status,
                                         LPCWSTR text) override
    {
        if (Abandoned())
            return E_ABORT;
        return m_binding.Progress(progress, progressMax, static_cast<int>(status), Narrow(text));
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR) override
    {
        if (Abandoned())
            return S_OK;
        if (m_control)
            m_control->Stopped();
        m_binding.Stop(result, SystemText(result));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD,
                                                   LPWSTR* additionalHeaders) override
    {
        if (additionalHeaders != nullptr)
            *additionalHeaders = nullptr;
        return Abandoned() ? E_ABORT : S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD status, LPCWSTR, LPCWSTR,
                                         LPWSTR* additionalHeaders) override
    {
        if (additionalHeaders != nullptr)
            *additionalHeaders = nullptr;
        if (Abandoned())
            return E_ABORT;
        m_binding.Response(static_cast<int>(status));
        return S_OK;
    }

private:
    bool Abandoned() const { return m_control && m_control->Ended(); }

    LightBinding& m_binding;
    const std::shared_ptr<LightTransferControl> m_control;
    LONG m_references = 1;
};

// The process-wide credentials of the system's Internet functions, set for one transfer.
class TransferCredentials
{
public:
    bool Set(const UrlCredentials& credentials)
    {
        if (credentials.user.empty())
            return true;
        m_library.Reset(::LoadLibraryA("wininet.dll"));
        if (!m_library)
            return false;
        m_setOption = reinterpret_cast<SetOptionFunction>(
            ::GetProcAddress(m_library.Get(), "InternetSetOptionA"));
        if (m_setOption == nullptr)
            return false;
        std::string user = credentials.user, password = credentials.password;
        m_setOption(nullptr, kOptionUserName, user.data(), static_cast<DWORD>(user.size()));
        m_setOption(nullptr, kOptionPassword, password.data(), static_cast<DWORD>(password.size()));
        m_set = true;
        return true;
    }
    ~TransferCredentials()
    {
        if (!m_set)
            return;
        m_setOption(nullptr, kOptionUserName, nullptr, 0);
        m_setOption(nullptr, kOptionPassword, nullptr, 0);
    }

private:
    core::UniqueModule m_library;
    SetOptionFunction m_setOption = nullptr;
    bool m_set = false;
};

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

LightTransferControl::~LightTransferControl()
{
    // A binding still held belongs to a thread ended by force: it is not touched from here.
    if (m_binding != nullptr && !m_ended.load())
        m_binding->Release();
}

void LightTransferControl::RequestStop()
{
    IBinding* binding = nullptr;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_stop)
            return;
        m_stop = true;
        binding = m_binding;
        if (binding != nullptr)
            binding->AddRef();
    }
    // Outside the lock: the service may report the end at once, which takes it.
    if (binding != nullptr) {
        binding->Abort();
        binding->Release();
    }
}

bool LightTransferControl::Started(IBinding* binding)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_stop)
        return false;
    if (m_binding != nullptr)
        m_binding->Release();
    m_binding = binding;
    if (m_binding != nullptr)
        m_binding->AddRef();
    return true;
}

void LightTransferControl::Stopped()
{
    IBinding* binding = nullptr;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        std::swap(binding, m_binding);
    }
    if (binding != nullptr)
        binding->Release();
}

bool LightDownloaderWin32::Download(bool useCache, bool& available)
{
    available = true;
    m_httpStatus = 0;
    const HRESULT com = ::CoInitialize(nullptr);
    const UINT errorMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    const core::ScopeGuard restore([&] {
        ::SetErrorMode(errorMode);
        if (SUCCEEDED(com))
            ::CoUninitialize();
    });

    const core::UniqueModule service(::LoadLibraryA(serviceLibrary.c_str()));
    // Never unloaded again: a stopped transfer's request may still be answered later, and the
    // service's threads would then run code that is gone.
    HMODULE pinned = nullptr;
    if (service)
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, serviceLibrary.c_str(), &pinned);
    const auto toFile = service ? reinterpret_cast<DownloadToFileFunction>(
                                      ::GetProcAddress(service.Get(), "URLDownloadToFileA"))
                                : nullptr;
    const auto toCache = service ? reinterpret_cast<DownloadToCacheFileFunction>(
                                       ::GetProcAddress(service.Get(), "URLDownloadToCacheFileA"))
                                 : nullptr;
    if (toFile == nullptr || toCache == nullptr) {
        available = false;
        return false;
    }

    LightBinding binding(events);
    UrlCallback* callback = new UrlCallback(binding, control);
    const core::ScopeGuard release([&] { callback->Release(); });
    const UrlCredentials split = SplitUrlCredentials(url);
    TransferCredentials credentials;
    if (!credentials.Set(split)) {
        available = false;
        return false;
    }
    const std::string address = Trimmed(split.url);

    HRESULT result = E_FAIL;
    if (useCache) {
        char cacheFile[MAX_PATH] = {};
        result = toCache(nullptr, address.c_str(), cacheFile, MAX_PATH, 0, callback);
        filePath = SUCCEEDED(result) ? cacheFile : "";
    } else if (!filePath.empty()) {
        result = toFile(nullptr, address.c_str(), filePath.c_str(), 0, callback);
    } else {
        // The decoded name could name a parent folder: only a plain name goes below the folder.
        const std::string name = SafeFileNameFromUrl(address);
        std::string folder = Trimmed(destinationFolder);
        if (!folder.empty() && folder.back() != '\\')
            folder += '\\';
        if (!name.empty())
            result = toFile(nullptr, address.c_str(), (folder + name).c_str(), 0, callback);
    }
    m_httpStatus = binding.HttpStatus();
    if (result == E_OUTOFMEMORY)
        throw std::runtime_error(SystemText(result));
    binding.RethrowRecorded();
    return result == S_OK;
}

LightResult LightDownloaderWin32::DownloadToCache(
    const std::string& address, const std::function<bool(const LightReport&)>& onProgress,
    bool& available)
{
    url = address;
    events.onProgress = [&](const LightReport& report, const std::string&, bool& cancel) {
        cancel = !onProgress(report);
    };
    const core::ScopeGuard forget([&] { events.onProgress = nullptr; });
    LightResult result;
    result.completed = Download(true, available);
    result.httpStatus = m_httpStatus;
    result.cacheFile = result.completed ? filePath : std::string();
    return result;
}

}  // namespace download
