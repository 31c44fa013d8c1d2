#include "setup/media/net/line_buffer.h"

namespace net {

namespace {

constexpr char kBackspace = 8;
constexpr char kTab = 9;
constexpr std::size_t kTabStop = 8;

}  // namespace

std::string LineBuffer::Append(std::string_view bytes, bool edit, bool echo)
{
    std::string echoed;
    if (!edit) {
        m_bytes.append(bytes);
        if (echo)
            echoed.assign(bytes);
        return echoed;
    }
    for (const char byte : bytes) {
        if (byte == kBackspace) {
            if (!m_bytes.empty()) {
                m_bytes.pop_back();
                if (echo)
                    echoed += "\b \b";
            }
            // The search may not start past what is left.
            if (m_searched > m_bytes.size())
                m_searched = m_bytes.size();
        } else if (byte == kTab) {
            const std::size_t spaces = kTabStop - m_bytes.size() % kTabStop;
            m_bytes.append(spaces, ' ');
            if (echo)
                echoed.append(spaces, ' ');
        } else {
            m_bytes.push_back(byte);
            if (echo)
                echoed.push_back(byte);
        }
    }
    return echoed;
}

std::size_t LineBuffer::FindLine(std::string_view lineEnd)
{
    if (lineEnd.empty())
        return 0;
    const std::size_t from = m_searched > lineEnd.size() ? m_searched - lineEnd.size() : 0;
    const std::size_t at = std::string_view(m_bytes).find(lineEnd, from);
    if (at == std::string_view::npos) {
        m_searched = m_bytes.size();
        return 0;
    }
    return at + lineEnd.size();
}

void LineBuffer::Consume(std::size_t count)
{
    m_bytes.erase(0, count);
    m_searched = 0;
}

void LineBuffer::Clear()
{
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_searched = 0;
}

}  // namespace net
