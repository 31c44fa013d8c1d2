#include "suite/update/wininet_win32.h"

#include <vector>

namespace update {
namespace {

constexpr DWORD kRequestFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kDownloadConnectTimeoutMs = 3000;

struct UrlParts
{
    std::wstring server;
    INTERNET_PORT port = 0;
    std::wstring object;
};

std::optional<UrlParts> SplitUrl(const std::wstring& url)
{
    std::vector<wchar_t> host(url.size() + 1), path(url.size() + 1), extra(url.size() + 1);
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (!::InternetCrackUrlW(url.c_str(), 0, 0, &parts) || parts.dwHostNameLength == 0)
        return std::nullopt;
    UrlParts result;
    result.server.assign(host.data(), parts.dwHostNameLength);
    result.port = parts.nPort;
    result.object.assign(path.data(), parts.dwUrlPathLength);
    result.object.append(extra.data(), parts.dwExtraInfoLength);
    if (result.object.empty())
        result.object = L"/";
    return result;
}

// Wine does not hand a session's time-outs down to its connections: every handle gets them.
void SetTimeouts(HINTERNET handle, DWORD connectMs, DWORD transferMs)
{
    ::InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof(connectMs));
    if (transferMs) {
        ::InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &transferMs,
                             sizeof(transferMs));
        ::InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &transferMs, sizeof(transferMs));
    }
}

std::wstring ErrorText(DWORD error)
{
    wchar_t text[256] = {};
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        ::GetModuleHandleW(L"wininet.dll"), error, 0, text, 255, nullptr);
    if (length == 0)
        return L"Error " + std::to_wstring(error);
    std::wstring message(text, length);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n'))
        message.pop_back();
    return message;
}

int StatusOf(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                          nullptr))
        return -1;
    return static_cast<int>(status);
}

// Opens session, connection and request for the URL, time-outs on each, and sends the request.
struct OpenedRequest
{
    UniqueInternet session, connection, request;
    bool parsed = false;
    bool sent = false;
    DWORD error = 0;
};

OpenedRequest OpenAndSend(const std::wstring& url, DWORD connectMs, DWORD transferMs)
{
    OpenedRequest opened;
    opened.session.Reset(
        ::InternetOpenW(L"Refreshkit", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    const auto parts = SplitUrl(url);
    opened.parsed = parts.has_value();
    if (!opened.session || !parts) {
        opened.error = ::GetLastError();
        return opened;
    }
    SetTimeouts(opened.session.Get(), connectMs, transferMs);
    opened.connection.Reset(::InternetConnectW(opened.session.Get(), parts->server.c_str(),
                                               parts->port, nullptr, nullptr, INTERNET_SERVICE_HTTP,
                                               0, 0));
    if (opened.connection) {
        SetTimeouts(opened.connection.Get(), connectMs, transferMs);
        opened.request.Reset(::HttpOpenRequestW(opened.connection.Get(), L"GET",
                                                parts->object.c_str(), nullptr, nullptr, nullptr,
                                                kRequestFlags, 0));
    }
    if (opened.request) {
        SetTimeouts(opened.request.Get(), connectMs, transferMs);
        opened.sent = ::HttpSendRequestW(opened.request.Get(), nullptr, 0, nullptr, 0);
    }
    if (!opened.sent)
        opened.error = ::GetLastError();
    return opened;
}

}  // namespace

HttpAnswer WinInetHttpGet::Get(const std::wstring& url, unsigned timeoutMs)
{
    HttpAnswer answer;
    OpenedRequest opened = OpenAndSend(url, timeoutMs, timeoutMs);
    if (!opened.parsed) {
        answer.outcome = HttpAnswer::Outcome::BadUrl;
        return answer;
    }
    if (!opened.sent) {
        answer.outcome = HttpAnswer::Outcome::SendFailed;
        answer.error = ErrorText(opened.error);
        return answer;
    }
    answer.outcome = HttpAnswer::Outcome::Answered;
    answer.status = StatusOf(opened.request.Get());
    if (answer.status != 200)
        return answer;
    char piece[400];
    DWORD read = 0;
    while (::InternetReadFile(opened.request.Get(), piece, sizeof(piece), &read) && read > 0)
        answer.body.append(piece, read);
    return answer;
}

std::optional<int> WinInetDownloadSource::Open(const std::wstring& url)
{
    OpenedRequest opened = OpenAndSend(url, kDownloadConnectTimeoutMs, 0);
    if (!opened.sent)
        return std::nullopt;
    DWORD bufferSize = static_cast<DWORD>(kDownloadPiece);
    ::InternetSetOptionW(opened.request.Get(), INTERNET_OPTION_READ_BUFFER_SIZE, &bufferSize,
                         sizeof(bufferSize));
    m_session = std::move(opened.session);
    m_connection = std::move(opened.connection);
    m_request = std::move(opened.request);
    return StatusOf(m_request.Get());
}

std::optional<std::size_t> WinInetDownloadSource::Read(std::span<std::uint8_t> buffer)
{
    DWORD read = 0;
    if (!m_request || !::InternetReadFile(m_request.Get(), buffer.data(),
                                          static_cast<DWORD>(buffer.size()), &read))
        return std::nullopt;
    return read;
}

bool Win32InstallerFile::Create(const std::wstring& path)
{
    m_file.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    return m_file.IsValid();
}

bool Win32InstallerFile::Write(std::span<const std::uint8_t> bytes)
{
    DWORD written = 0;
    return m_file &&
           ::WriteFile(m_file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size();
}

}  // namespace update
