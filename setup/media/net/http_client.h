// The HTTP client: one request at a time over one socket, directly or through an HTTP proxy,
// reusing a kept-alive connection, answering Basic and NTLM challenges of the server and the
// proxy, and following relocations. Event driven: every step runs from a socket event or from a
// message the client posts to itself, so one thread's message loop drives it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "setup/media/net/async_socket.h"
#include "setup/media/net/http_request_header.h"
#include "setup/media/net/http_response_reader.h"
#include "setup/media/net/ntlm_messages.h"

namespace net {

enum class HttpState
{
    Ready,
    NotConnected,
    Connected,
    DnsLookup,
    DnsLookupDone,
    WaitingHeader,
    WaitingBody,
    BodyReceived,
    WaitingProxyConnect,
    Closing,
    Aborting
};

enum class HttpRequestKind
{
    Abort,
    Get,
    Post,
    Put,
    Head,
    Close
};

enum class HttpMessage
{
    RequestDone,
    SetReady,
    Restart
};

class HttpException : public std::runtime_error
{
public:
    HttpException(const std::string& message, int code) : std::runtime_error(message), m_code(code)
    {}
    int Code() const { return m_code; }

private:
    int m_code;
};

// Where the client posts its own messages; they come back through HttpClient::HandleMessage.
class IHttpMessagePoster
{
public:
    virtual ~IHttpMessagePoster() = default;
    virtual void Post(HttpMessage message) = 0;
};

// Relocations followed for one request before it ends with kTooManyRelocations.
constexpr int kMaxRelocations = 16;
constexpr const char* kTooManyRelocations = "Too many relocations";

struct HttpSettings
{
    std::string url;
    std::string proxy, proxyPort = "80";
    std::string agent = "Mozilla/4.0 (compatible; ICS)";
    std::string accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
    std::string sender, reference, acceptLanguage, connection, proxyConnection, cookie;
    std::string contentTypePost = "application/x-www-form-urlencoded";
    std::string username, password, proxyUsername, proxyPassword;
    std::string rangeBegin, rangeEnd;       // cleared after use
    std::optional<HttpDate> modifiedSince;  // written as given, no zone conversion
    std::string requestVer = "1.0";
    bool noCache = false;
    bool followRelocation = true;
    bool noBasicAuth = false, noNtlmAuth = false;
    std::string localHostName;  // named in NTLM's response message
    std::string socksServer, socksPort, socksLevel = "5", socksUsercode, socksPassword;
    bool socksAuthenticate = false;
};

class HttpClient
{
public:
    HttpClient(ISocketLibrary& library, ISocketWindow& window, IHttpMessagePoster& poster);
    ~HttpClient();

    HttpSettings settings;
    std::string requestBody;  // POST and PUT
    // The body goes here; cut back when an exchange or a relocation starts the request again.
    std::string responseBody;
    // When set, body data go here instead of into responseBody.
    std::function<void(std::string_view bytes)> onDocData;
    std::function<void(HttpRequestKind kind, int error)> onRequestDone;
    std::function<void(const std::string& bytes)> onRequestSent;  // each request's header bytes
    // The request header: each line may be changed before it is sent, then the whole list.
    std::function<void()> onRequestHeaderBegin, onRequestHeaderEnd;
    std::function<void(std::string& line)> onCommand;
    std::function<void(const std::string& method, std::vector<std::string>& lines)>
        onBeforeHeaderSend;
    // The POST or PUT body leaves in blocks, each once the one before has gone.
    std::function<void()> onSendBegin, onSendEnd;
    std::function<void(std::string_view block)> onSendData;
    std::function<void()> onLocationChange;
    std::function<void(HttpState state)> onStateChange;
    std::function<void(int error)> onSessionConnected, onSessionClosed;
    // The response header line by line, and the document around its data.
    std::function<void()> onHeaderBegin, onHeaderEnd, onDocBegin, onDocEnd;
    std::function<void(std::string_view line)> onHeaderData;
    // A first line that is not a status line.
    std::function<void(std::string_view line)> onDataPush2;
    // Bytes that arrive while no response is awaited.
    std::function<void(std::string_view bytes)> onDataPush;
    // A Set-Cookie value; the client itself keeps no cookies.
    std::function<void(std::string_view value, bool& accept)> onCookie;

    // Throws HttpException: busy (1), nothing to post or put (2), unsupported version (5).
    void RequestAsync(HttpRequestKind kind);
    void AbortRequest();
    void HandleMessage(HttpMessage message);

    HttpState State() const { return m_state; }
    int ResponseStatus() const { return m_status; }
    const std::string& ResponseReason() const { return m_reason; }
    const HttpResponse& Response() const { return m_reader->Response(); }
    int RequestError() const { return m_requestError; }
    const std::string& NewLocation() const { return m_newLocation; }
    const std::string& DocumentName() const { return m_documentName; }
    int Relocations() const { return m_relocations; }
    AsyncSocket& Socket() { return m_socket; }

private:
    enum class NtlmStep
    {
        None,
        FirstSent,
        ThirdSent,
        Done
    };
    enum class BasicStep
    {
        None,
        Sent,
        Done
    };
    enum class Side
    {
        Server,
        Proxy
    };
    class ReaderEvents;

    void ResetResponse();
    void SplitTarget(const std::string& url);
    void StartConnection();
    void OnLookupDone(int error);
    void ConnectTo(const std::string& address);
    void SendRequest();
    void SendNextBodyBlock();
    std::string AuthorizationLine();
    void OnSessionConnected(int error);
    void OnDataAvailable();
    void OnSessionClosed(int error);
    void OnHeaderEnd();
    void ResponseComplete();
    void StartRelocation();
    void RestartRelocated(bool reconnect);
    void SetReady();
    bool StartAuthentication();
    void StartExchange();
    void SetState(HttpState state);

    AsyncSocket m_socket;
    IHttpMessagePoster& m_poster;
    std::unique_ptr<ReaderEvents> m_readerEvents;
    std::unique_ptr<HttpResponseReader> m_reader;

    HttpState m_state = HttpState::Ready;
    HttpRequestKind m_kind = HttpRequestKind::Get;
    int m_status = 0;
    std::string m_reason;
    int m_requestError = 0;
    std::string m_documentName, m_newLocation;

    // The request's target, and the connection it goes over.
    std::string m_scheme, m_targetHost, m_targetPort, m_requestPath;
    std::string m_connectHost, m_connectPort;
    std::string m_connectedHost, m_connectedPort, m_connectedScheme;
    bool m_closeAfter = true;
    bool m_relocationPending = false;
    int m_relocations = 0;
    bool m_connectionLost = false;  // a close the client made itself: it ends no request
    bool m_socketFailed = false;
    static constexpr std::size_t kReceiveSize = 1024 * 1024;
    std::string m_receiveBuffer;
    static constexpr std::size_t kBodyBlockSize = 8193;
    bool m_sendingBody = false;
    std::size_t m_bodySent = 0;

    NtlmStep m_serverNtlm = NtlmStep::None, m_proxyNtlm = NtlmStep::None;
    BasicStep m_serverBasic = BasicStep::None, m_proxyBasic = BasicStep::None;
    Side m_ntlmSide = Side::Server, m_basicSide = Side::Server;
    NtlmChallengeInfo m_serverChallenge, m_proxyChallenge;
};

// The file name a request path gives: no query, "document.htm" for a folder, at most 255
// characters.
std::string DocumentNameOf(const std::string& path);

}  // namespace net
