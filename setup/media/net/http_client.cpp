#include "setup/media/net/http_client.h"

#include <algorithm>
#include <utility>

#include "setup/media/net/ascii_lower.h"
#include "setup/media/net/base64.h"
#include "setup/media/net/socket_errors.h"
#include "setup/media/net/url_split.h"

namespace net {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return AsciiLower(text.substr(0, prefix.size())) == AsciiLower(prefix);
}

const char* MethodOf(HttpRequestKind kind)
{
    switch (kind) {
        case HttpRequestKind::Post:
            return "POST";
        case HttpRequestKind::Put:
            return "PUT";
        case HttpRequestKind::Head:
            return "HEAD";
        default:
            return "GET";
    }
}

// The last challenge of the given scheme ("NTLM", "Basic"), searched from the end.
const std::string* LastChallenge(const std::vector<std::string>& challenges, const char* scheme)
{
    for (auto it = challenges.rbegin(); it != challenges.rend(); ++it) {
        if (StartsWithNoCase(*it, scheme))
            return &*it;
    }
    return nullptr;
}

}  // namespace

std::string DocumentNameOf(const std::string& path)
{
    const std::string noQuery = path.substr(0, path.find('?'));
    if (noQuery.empty() || noQuery.back() == '/')
        return "document.htm";
    return noQuery.substr(noQuery.rfind('/') + 1).substr(0, 255);
}

class HttpClient::ReaderEvents : public IHttpResponseEvents
{
public:
    explicit ReaderEvents(HttpClient& client) : m_client(client) {}
    void HeaderBegin() override { Fire(m_client.onHeaderBegin); }
    void HeaderLine(std::string_view line) override
    {
        constexpr std::string_view kCookie = "set-cookie:";
        if (m_client.onCookie && line.size() >= kCookie.size() &&
            AsciiLower(std::string(line.substr(0, kCookie.size()))) == kCookie) {
            std::string_view value = line.substr(kCookie.size());
            while (!value.empty() && value.front() == ' ')
                value.remove_prefix(1);
            bool accept = true;
            m_client.onCookie(value, accept);
        }
        if (m_client.onHeaderData)
            m_client.onHeaderData(line);
    }
    void NotAStatusLine(std::string_view line) override
    {
        if (m_client.onDataPush2)
            m_client.onDataPush2(line);
    }
    void HeaderEnd() override
    {
        Fire(m_client.onHeaderEnd);
        m_client.OnHeaderEnd();
    }
    void DocBegin() override
    {
        if (m_client.m_state == HttpState::WaitingHeader)
            m_client.SetState(HttpState::WaitingBody);
        Fire(m_client.onDocBegin);
    }
    void DocEnd() override
    {
        m_client.SetState(HttpState::BodyReceived);
        Fire(m_client.onDocEnd);
    }
    void DocData(std::string_view bytes) override
    {
        if (m_client.onDocData)
            m_client.onDocData(bytes);
        else
            m_client.responseBody += bytes;
    }

private:
    static void Fire(const std::function<void()>& handler)
    {
        if (handler)
            handler();
    }

    HttpClient& m_client;
};

HttpClient::HttpClient(ISocketLibrary& library, ISocketWindow& window, IHttpMessagePoster& poster)
    : m_socket(library, window),
      m_poster(poster),
      m_readerEvents(std::make_unique<ReaderEvents>(*this)),
      m_reader(std::make_unique<HttpResponseReader>(*m_readerEvents, false, true))
{
    m_socket.events.sessionConnected = [this](int error) { OnSessionConnected(error); };
    m_socket.events.dataAvailable = [this](int) { OnDataAvailable(); };
    m_socket.events.sessionClosed = [this](int error) { OnSessionClosed(error); };
    m_socket.events.dnsLookupDone = [this](int error) { OnLookupDone(error); };
    m_socket.events.dataSent = [this](int error) {
        if (error == 0 && m_sendingBody)
            SendNextBodyBlock();
    };
    // Failures of socket calls come back as the socket's last error text.
    m_socket.events.error = [this] { m_socketFailed = true; };
}

HttpClient::~HttpClient() = default;

void HttpClient::SetState(HttpState state)
{
    m_state = state;
    if (onStateChange)
        onStateChange(state);
}

void HttpClient::ResetResponse()
{
    m_status = 0;
    m_reason.clear();
    m_requestError = 0;
    m_relocationPending = false;
    m_reader = std::make_unique<HttpResponseReader>(*m_readerEvents, false, true);
}

void HttpClient::SplitTarget(const std::string& url)
{
    const UrlParts parts = SplitUrl(url, m_requestPath);
    m_scheme = parts.scheme.empty() ? "http" : AsciiLower(parts.scheme);
    const std::string path = parts.path.empty() ? "/" : parts.path;
    if (!parts.user.empty()) {
        settings.username = parts.user;
        settings.password = parts.password;
    }
    m_targetHost = parts.host;
    m_targetPort = !parts.port.empty() ? parts.port : m_scheme == "https" ? "443" : "80";
    if (settings.proxy.empty()) {
        m_connectHost = parts.host;
        m_connectPort = parts.port.empty() ? "80" : parts.port;
        m_requestPath = path;
    } else {
        m_requestPath =
            m_scheme + "://" + parts.host + (parts.port.empty() ? "" : ":" + parts.port) + path;
        const UrlParts proxy = SplitUrl(settings.proxy);
        m_connectHost = proxy.host.empty() ? settings.proxy : proxy.host;
        m_connectPort = proxy.port.empty() ? settings.proxyPort : proxy.port;
    }
    m_documentName = DocumentNameOf(path);
}

void HttpClient::RequestAsync(HttpRequestKind kind)
{
    if (m_state != HttpState::Ready && kind != HttpRequestKind::Close)
        throw HttpException("HTTP component HttpCli is busy", 1);
    if ((kind == HttpRequestKind::Post || kind == HttpRequestKind::Put) && requestBody.empty())
        throw HttpException("HTTP component has nothing to post or put", 2);
    if (settings.requestVer != "1.0" && settings.requestVer != "1.1")
        throw HttpException("Insupported HTTP version", 5);
    m_kind = kind;
    if (kind == HttpRequestKind::Close) {
        m_status = 200;
        m_reason = "OK";
        SetState(HttpState::Closing);
        if (m_socket.State() == SocketState::Closed)
            m_poster.Post(HttpMessage::SetReady);
        else
            m_socket.Close();
        return;
    }
    ResetResponse();
    responseBody.clear();
    m_newLocation = settings.url;
    m_relocations = 0;
    m_requestPath.clear();
    SplitTarget(settings.url);
    StartConnection();
}

void HttpClient::StartConnection()
{
    const bool sameConnection = m_socket.State() == SocketState::Connected &&
                                m_connectedHost == m_connectHost &&
                                m_connectedPort == m_connectPort && m_connectedScheme == m_scheme;
    if (sameConnection) {
        SendRequest();
        return;
    }
    if (m_socket.State() != SocketState::Closed) {
        m_connectionLost = true;  // this close ends no request
        m_socket.Abort();
        m_connectionLost = false;
    }
    if (m_state != HttpState::NotConnected)
        SetState(HttpState::NotConnected);
    SetState(HttpState::DnsLookup);
    if (!settings.socksServer.empty()) {
        // SOCKS 4A and 5 resolve the name on the far side; SOCKS 4 has the socket resolve it.
        ConnectTo(m_connectHost);
        return;
    }
    m_socketFailed = false;
    m_socket.DnsLookup(m_connectHost);
    if (m_socketFailed && m_state == HttpState::DnsLookup) {
        // The lookup did not even start.
        m_status = 404;
        m_reason = m_socket.LastErrorText();
        SetReady();
    }
}

void HttpClient::OnLookupDone(int error)
{
    if (m_state != HttpState::DnsLookup)
        return;  // an abort cancelled it, or it belongs to no request
    if (error != 0) {
        m_status = 404;
        m_reason = "can't resolve hostname to IP address";
        OnSessionClosed(error);
        return;
    }
    ConnectTo(m_socket.DnsResult());
}

void HttpClient::ConnectTo(const std::string& address)
{
    m_connectedHost = m_connectHost;
    m_connectedPort = m_connectPort;
    m_connectedScheme = m_scheme;
    if (m_scheme != "http") {
        m_status = 501;
        m_reason = "Protocol \"" + m_scheme + "\" not implemented";
        SetReady();
        return;
    }
    m_socketFailed = false;
    m_socket.SetSocksServer(settings.socksServer);
    m_socket.SetSocksPort(settings.socksPort);
    m_socket.SetSocksLevel(settings.socksLevel);
    m_socket.socksUsercode = settings.socksUsercode;
    m_socket.socksPassword = settings.socksPassword;
    m_socket.socksAuthenticate = settings.socksAuthenticate;
    m_socket.SetAddr(address);
    m_socket.SetPort(m_connectPort);
    m_socket.Connect();
    if (m_socketFailed) {
        const std::string text = m_socket.LastErrorText();
        m_connectionLost = true;
        m_socket.Abort();
        m_connectionLost = false;
        m_status = 404;
        if (text.find("WSocketResolveHost") != std::string::npos) {
            m_reason = "can't resolve hostname to IP address";
        } else {
            m_requestError = m_socket.LastError();
            m_reason =
                "can't connect: " + text + " (Error #" + std::to_string(m_requestError) + ")";
        }
        SetReady();
        return;
    }
    SetState(HttpState::DnsLookupDone);
}

void HttpClient::OnSessionConnected(int error)
{
    if (error != 0) {
        m_requestError = error;
        m_status = 404;
        m_reason = std::string(SocketErrorText(error)) + " (Error #" + std::to_string(error) + ")";
        if (onSessionConnected)
            onSessionConnected(error);
        return;  // the socket closes, and its close ends the request
    }
    SetState(HttpState::Connected);
    if (onSessionConnected)
        onSessionConnected(0);
    SendRequest();
}

std::string HttpClient::AuthorizationLine()
{
    const bool proxy = m_ntlmSide == Side::Proxy;
    const NtlmStep ntlm = proxy ? m_proxyNtlm : m_serverNtlm;
    const char* header = proxy ? "Proxy-Authorization: NTLM " : "Authorization: NTLM ";
    if (ntlm == NtlmStep::FirstSent)
        return header + BuildNtlmNegotiate("", "");
    if (ntlm == NtlmStep::ThirdSent) {
        const NtlmChallengeInfo& info = proxy ? m_proxyChallenge : m_serverChallenge;
        return header + BuildNtlmResponse("", settings.localHostName,
                                          proxy ? settings.proxyUsername : settings.username,
                                          proxy ? settings.proxyPassword : settings.password,
                                          info.challenge);
    }
    if (m_basicSide == Side::Server && m_serverBasic == BasicStep::Sent)
        return "Authorization: Basic " + EncodeBase64(settings.username + ":" + settings.password);
    if (m_basicSide == Side::Proxy && m_proxyBasic == BasicStep::Sent) {
        return "Proxy-Authorization: Basic " +
               EncodeBase64(settings.proxyUsername + ":" + settings.proxyPassword);
    }
    return {};
}

void HttpClient::SendRequest()
{
    const bool head = m_kind == HttpRequestKind::Head;
    m_reader =
        std::make_unique<HttpResponseReader>(*m_readerEvents, head, settings.requestVer == "1.0");
    HttpRequestHeaderValues v;
    v.method = MethodOf(m_kind);
    v.requestPath = m_requestPath;
    v.version = settings.requestVer;
    v.sender = settings.sender;
    v.accept = settings.accept;
    v.reference = settings.reference;
    v.connection = settings.connection;
    v.proxyConnection = settings.proxyConnection;
    v.acceptLanguage = settings.acceptLanguage;
    v.contentType = settings.contentTypePost;
    v.agent = settings.agent;
    v.targetHost = m_targetHost;
    v.targetPort = m_targetPort;
    v.noCache = settings.noCache;
    const bool negotiating =
        (m_ntlmSide == Side::Server ? m_serverNtlm : m_proxyNtlm) == NtlmStep::FirstSent;
    const bool withBody = m_kind == HttpRequestKind::Post || m_kind == HttpRequestKind::Put;
    v.contentLength = negotiating ? 0 : static_cast<std::int64_t>(requestBody.size());
    v.authorization = AuthorizationLine();
    v.cookie = settings.cookie;
    v.rangeBegin = std::exchange(settings.rangeBegin, {});
    v.rangeEnd = std::exchange(settings.rangeEnd, {});
    v.modifiedSince = settings.modifiedSince;
    if (onRequestHeaderBegin)
        onRequestHeaderBegin();
    std::vector<std::string> lines = BuildRequestHeaderLines(v);
    if (onCommand) {
        for (std::string& line : lines)
            onCommand(line);
    }
    if (onBeforeHeaderSend)
        onBeforeHeaderSend(v.method, lines);
    const std::string header = JoinRequestHeader(lines);
    SetState(HttpState::WaitingHeader);
    m_sendingBody = withBody && !negotiating;
    m_bodySent = 0;
    if (onRequestSent)
        onRequestSent(header);
    m_socket.Send(header);
    if (onRequestHeaderEnd)
        onRequestHeaderEnd();
    if (m_sendingBody) {
        if (onSendBegin)
            onSendBegin();
        SendNextBodyBlock();
    }
}

void HttpClient::SendNextBodyBlock()
{
    if (m_bodySent >= requestBody.size()) {
        m_sendingBody = false;
        if (onSendEnd)
            onSendEnd();
        return;
    }
    const std::size_t count = std::min(kBodyBlockSize, requestBody.size() - m_bodySent);
    const std::string_view block(requestBody.data() + m_bodySent, count);
    m_bodySent += count;
    if (onSendData)
        onSendData(block);
    m_socket.Send(block);
}

void HttpClient::OnDataAvailable()
{
    // Large reads: each one is a trip into the sockets library, and a download is mostly body.
    m_receiveBuffer.resize(kReceiveSize);
    char* buffer = m_receiveBuffer.data();
    const int count = m_socket.Receive(buffer, static_cast<int>(kReceiveSize));
    if (count <= 0)
        return;
    if (m_state != HttpState::WaitingHeader && m_state != HttpState::WaitingBody) {
        // Bytes no request waits for (a server talking out of turn) go to the owner or are dropped.
        if (onDataPush)
            onDataPush(std::string_view(buffer, static_cast<std::size_t>(count)));
        return;
    }
    const std::string_view bytes(buffer, static_cast<std::size_t>(count));
    const std::size_t taken = m_reader->Feed(bytes);
    if (m_reader->GetPhase() == HttpResponseReader::Phase::Body) {
        if (m_state != HttpState::WaitingBody)
            SetState(HttpState::WaitingBody);
    } else if (m_reader->GetPhase() == HttpResponseReader::Phase::Complete) {
        if (m_kind == HttpRequestKind::Head && taken < bytes.size())
            m_closeAfter = true;  // a HEAD answered with a body: that connection is done
        ResponseComplete();
    }
}

void HttpClient::OnHeaderEnd()
{
    const HttpResponse& response = m_reader->Response();
    m_status = response.status;
    m_reason = response.reason;
    m_closeAfter = response.closeAfter;
    if (m_documentName.find('.') == std::string::npos || AsciiLower(m_documentName).ends_with(".exe")) {
        if (response.contentType == "text/html") {
            const std::size_t dot = m_documentName.rfind('.');
            m_documentName = m_documentName.substr(0, dot) + ".htm";
        }
    }
    if (response.locations.empty())
        return;
    const std::string& value = response.locations.back();
    if (m_kind == HttpRequestKind::Put) {
        m_newLocation = value;
        return;
    }
    if (!settings.followRelocation)
        return;
    m_relocationPending = true;
    const std::string origin =
        m_scheme + "://" + m_targetHost + (m_targetPort == "80" ? "" : ":" + m_targetPort);
    std::string target;
    if (StartsWithNoCase(value, "http://") || StartsWithNoCase(value, "https://")) {
        target = value;
    } else if (!value.empty() && value.front() == '/') {
        target = origin + value;
    } else {
        // A bare name replaces the last segment of the current path and drops its query.
        const std::string path = m_requestPath.substr(0, m_requestPath.find('?'));
        const std::size_t cut = path.find_last_of("/:");
        const std::string folder = cut == std::string::npos ? "/" : path.substr(0, cut + 1);
        target = (settings.proxy.empty() ? origin : std::string()) + folder + value;
    }
    m_newLocation = target;
}

void HttpClient::ResponseComplete()
{
    if (m_state != HttpState::BodyReceived)
        SetState(HttpState::BodyReceived);
    if (m_relocationPending) {
        StartRelocation();
        return;
    }
    if (m_closeAfter) {
        m_socket.CloseLater();  // its close ends the request
        return;
    }
    SetReady();
}

void HttpClient::OnSessionClosed(int error)
{
    if (m_connectionLost)
        return;
    if (error != 0)
        m_requestError = error;
    if (m_state == HttpState::Ready) {
        // An idle kept-alive connection ended.
        if (onSessionClosed)
            onSessionClosed(error);
        return;
    }
    if (m_reader->GetPhase() != HttpResponseReader::Phase::Complete &&
        (m_state == HttpState::WaitingHeader || m_state == HttpState::WaitingBody))
        m_reader->ConnectionClosed();
    if (m_relocationPending) {
        StartRelocation();
        return;
    }
    if (onSessionClosed)
        onSessionClosed(error);
    SetReady();
}

void HttpClient::StartRelocation()
{
    m_relocationPending = false;
    if (++m_relocations > kMaxRelocations) {
        m_status = 404;
        m_reason = kTooManyRelocations;
        if (m_socket.State() != SocketState::Closed) {
            m_connectionLost = true;
            m_socket.Abort();
            m_connectionLost = false;
        }
        SetReady();
        return;
    }
    // Credentials belong to the host they were given for.
    std::string location = m_newLocation.substr(0, m_newLocation.find('#'));
    const UrlParts next = SplitUrl(location, m_requestPath);
    if (AsciiLower(next.host) != AsciiLower(m_targetHost) && next.user.empty()) {
        settings.username.clear();
        settings.password.clear();
    }
    m_newLocation = location;
    SplitTarget(location);
    if (m_kind == HttpRequestKind::Post)
        m_kind = HttpRequestKind::Get;
    if (onLocationChange)
        onLocationChange();
    const std::string keptLocation = m_newLocation;
    ResetResponse();
    m_newLocation = keptLocation;
    responseBody.clear();
    if (m_closeAfter && m_socket.State() != SocketState::Closed) {
        m_connectionLost = true;
        m_socket.Abort();
        m_connectionLost = false;
    }
    m_poster.Post(HttpMessage::Restart);
}

void HttpClient::SetReady()
{
    SetState(HttpState::Ready);
    if (StartAuthentication())
        return;
    m_poster.Post(HttpMessage::RequestDone);
}

bool HttpClient::StartAuthentication()
{
    const std::vector<std::string>& challenges = m_reader->Response().challenges;
    if (!settings.noNtlmAuth) {
        if (m_serverNtlm == NtlmStep::ThirdSent && m_status != 401)
            m_serverNtlm = NtlmStep::Done;
        if (m_serverNtlm == NtlmStep::Done && m_status == 401)
            m_serverNtlm = NtlmStep::None;
        if (m_proxyNtlm == NtlmStep::ThirdSent && m_status != 407)
            m_proxyNtlm = NtlmStep::Done;
        if (m_proxyNtlm == NtlmStep::Done && m_status == 407)
            m_proxyNtlm = m_serverNtlm = NtlmStep::None;
        const bool server =
            m_status == 401 && !settings.username.empty() && !settings.password.empty();
        const bool proxy =
            m_status == 407 && !settings.proxyUsername.empty() && !settings.proxyPassword.empty();
        const std::string* challenge = LastChallenge(challenges, "NTLM");
        if ((server || proxy) && challenge != nullptr) {
            NtlmStep& step = server ? m_serverNtlm : m_proxyNtlm;
            switch (step) {
                case NtlmStep::None:
                    m_ntlmSide = server ? Side::Server : Side::Proxy;
                    step = NtlmStep::FirstSent;
                    if (settings.requestVer == "1.0")
                        (server ? settings.connection : settings.proxyConnection) = "Keep-alive";
                    StartExchange();
                    return true;
                case NtlmStep::FirstSent:
                    (server ? m_serverChallenge : m_proxyChallenge) =
                        ReadNtlmChallenge(challenge->size() > 5 ? challenge->substr(5, 1000) : "");
                    step = NtlmStep::ThirdSent;
                    StartExchange();
                    return true;
                case NtlmStep::ThirdSent:
                    step = NtlmStep::None;  // the answer to our response stands
                    return false;
                case NtlmStep::Done:
                    throw HttpException(
                        server ? "Unexpected AuthNTLMState" : "Unexpected ProxyAuthNTLMState", 6);
            }
        }
    }
    if (!settings.noBasicAuth) {
        if (m_serverBasic == BasicStep::Sent && m_status != 401)
            m_serverBasic = BasicStep::Done;
        if (m_serverBasic == BasicStep::Done && m_status == 401)
            m_serverBasic = BasicStep::None;
        if (m_proxyBasic == BasicStep::Sent && m_status != 407)
            m_proxyBasic = BasicStep::Done;
        if (m_proxyBasic == BasicStep::Done && m_status == 407)
            m_proxyBasic = m_serverBasic = BasicStep::None;
        const bool server =
            m_status == 401 && !settings.username.empty() && !settings.password.empty();
        const bool proxy =
            m_status == 407 && !settings.proxyUsername.empty() && !settings.proxyPassword.empty();
        if ((server || proxy) && LastChallenge(challenges, "Basic") != nullptr) {
            BasicStep& step = server ? m_serverBasic : m_proxyBasic;
            if (step == BasicStep::None) {
                m_basicSide = server ? Side::Server : Side::Proxy;
                step = BasicStep::Sent;
                StartExchange();
                return true;
            }
            if (step == BasicStep::Sent) {
                step = BasicStep::None;  // a second refusal stands
                return false;
            }
            throw HttpException(
                server ? "Unexpected AuthBasicState" : "Unexpected ProxyAuthBasicState", 6);
        }
    }
    return false;
}

void HttpClient::StartExchange()
{
    const std::string keptName = m_documentName;
    const auto received = static_cast<std::size_t>(m_reader->Response().receivedCount);
    responseBody.resize(responseBody.size() >= received ? responseBody.size() - received : 0);
    m_status = 0;
    m_reason.clear();
    m_documentName = keptName;
    m_poster.Post(HttpMessage::Restart);
}

void HttpClient::HandleMessage(HttpMessage message)
{
    switch (message) {
        case HttpMessage::RequestDone:
            if (onRequestDone)
                onRequestDone(m_kind, m_requestError);
            break;
        case HttpMessage::SetReady:
            SetReady();
            break;
        case HttpMessage::Restart:
            if (m_closeAfter && m_socket.State() != SocketState::Closed) {
                m_connectionLost = true;
                m_socket.Abort();
                m_connectionLost = false;
            }
            SetState(HttpState::NotConnected);
            StartConnection();
            break;
    }
}

void HttpClient::AbortRequest()
{
    if (m_state == HttpState::Ready) {
        if (m_socket.State() != SocketState::Closed) {
            m_connectionLost = true;
            m_socket.Abort();
            m_connectionLost = false;
        }
        m_status = 200;
        m_reason = "OK";
        m_requestError = 0;
        if (onRequestDone)
            onRequestDone(m_kind, 0);
        return;
    }
    SetState(HttpState::Aborting);
    m_socket.CancelLookup();  // its failure changes nothing here
    if (m_socket.State() != SocketState::Closed) {
        m_connectionLost = true;
        m_socket.Abort();
        m_connectionLost = false;
    }
    m_status = 404;
    m_reason = "Connection aborted on request";
    m_requestError = 3;
    SetState(HttpState::Ready);
    m_poster.Post(HttpMessage::RequestDone);
}

}  // namespace net
