// Line mode of the socket: received bytes collect in a buffer and reach the owner one line at a
// time; Receive then reads within the current line.
#include <algorithm>

#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_errors.h"

namespace net {

namespace {

// What a read asks for when the library reports nothing waiting.
constexpr unsigned long kMinimumRead = 255;
// Rescan passes in line mode that may find no line before the rescan gives up.
constexpr int kRescanPassesWithoutLine = 3;

}  // namespace

void AsyncSocket::SetLineMode(bool on)
{
    if (m_lineMode == on)
        return;
    m_lineMode = on;
    if (m_lines.Size() > 0)
        m_window.PostLineRescan();
}

int AsyncSocket::SendTextLine(std::string_view text)
{
    if (text.empty())
        return 0;
    Send(text);
    Send(lineEnd);
    return static_cast<int>(text.size()) + 2;
}

int AsyncSocket::TakeBuffered(char* buffer, std::size_t length)
{
    const std::size_t take = std::min(length, m_lines.Size());
    m_lines.Bytes().copy(buffer, take);
    m_lines.Consume(take);
    return static_cast<int>(take);
}

int AsyncSocket::Receive(char* buffer, int length)
{
    if (length > 0 && LineModeActive()) {
        if (m_lineRemaining == 0) {
            m_lastError = kWsaWouldBlock;
            return -1;
        }
        const int taken = TakeBuffered(
            buffer, std::min<std::size_t>(static_cast<std::size_t>(length), m_lineRemaining));
        m_lineRemaining -= static_cast<std::size_t>(taken);
        return taken;
    }
    if (length > 0 && m_lines.Size() > 0) {
        const int taken = TakeBuffered(buffer, static_cast<std::size_t>(length));
        m_lineRemaining -= std::min(m_lineRemaining, static_cast<std::size_t>(taken));
        return taken;
    }
    return RawReceive(buffer, length);
}

unsigned long AsyncSocket::RcvdCount()
{
    if (LineModeActive())
        return static_cast<unsigned long>(m_lineRemaining);
    return static_cast<unsigned long>(m_lines.Size()) + BytesWaiting();
}

void AsyncSocket::TriggerDataAvailable(int error)
{
    if (!LineModeActive()) {
        if (events.dataAvailable)
            events.dataAvailable(error);
        return;
    }
    ReadIntoLines();
    DeliverLines(error);
}

bool AsyncSocket::ReadIntoLines()
{
    unsigned long waiting = BytesWaiting();
    if (waiting == 0)
        waiting = kMinimumRead;
    std::string bytes(waiting, '\0');
    const int count = RawReceive(bytes.data(), static_cast<int>(waiting));
    if (count <= 0)
        return false;
    bytes.resize(static_cast<std::size_t>(count));
    const std::string echo = m_lines.Append(bytes, lineEdit, lineEcho);
    if (!echo.empty() && m_state == SocketState::Connected)
        Send(echo);
    return true;
}

bool AsyncSocket::DeliverLines(int error)
{
    bool found = false;
    while (LineModeActive() && m_handle != kInvalidSocket) {
        const std::size_t length = m_lines.FindLine(lineEnd);
        if (length == 0) {
            if (lineLimit != 0 && m_lines.Size() > lineLimit) {
                bool clearData = true;
                if (events.lineLimitExceeded)
                    events.lineLimitExceeded(m_lines.Size(), clearData);
                if (clearData)
                    m_lines.Clear();
            }
            break;
        }
        found = true;
        DeliverLine(length, error);
    }
    return found;
}

void AsyncSocket::DeliverLine(std::size_t length, int error)
{
    m_lineRemaining = length;
    while (m_lineMode && m_lineRemaining > 0 && m_handle != kInvalidSocket) {
        const std::size_t before = m_lineRemaining;
        if (events.dataAvailable)
            events.dataAvailable(error);
        if (m_lineRemaining == before)
            break;  // a handler that reads nothing drops the line
    }
    // With line mode switched off by the handler, the rest stays for plain reads.
    if (m_lineMode)
        m_lines.Consume(std::min(m_lineRemaining, m_lines.Size()));
    m_lineRemaining = 0;
}

void AsyncSocket::DeliverLastLine(int error)
{
    if (LineModeActive() && m_lines.Size() > 0 && m_handle != kInvalidSocket)
        DeliverLine(m_lines.Size(), error);
    m_lines.Clear();
}

void AsyncSocket::HandleLineRescan()
{
    int passesWithoutLine = 0;
    while (m_lines.Size() > 0 && m_handle != kInvalidSocket) {
        if (LineModeActive()) {
            ReadIntoLines();
            if (!DeliverLines(0) && ++passesWithoutLine > kRescanPassesWithoutLine)
                break;
            continue;
        }
        const std::size_t before = m_lines.Size();
        if (events.dataAvailable)
            events.dataAvailable(0);
        if (m_lines.Size() == before)
            break;
    }
}

}  // namespace net
