// Reads text held in memory line by line: a line ends at LF, and a CR before it is dropped, so
// CR LF and bare LF files read alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup::engine {

class TextLineReader
{
public:
    explicit TextLineReader(std::string_view text) : m_rest(text) {}

    bool AtEnd() const { return m_rest.empty(); }

    // The next line without its line end; empty at the end of the text.
    std::string Next()
    {
        const size_t end = m_rest.find('\n');
        std::string_view line = m_rest.substr(0, end);
        m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return std::string(line);
    }

private:
    std::string_view m_rest;
};

// Lines of a text as the runtime's string lists load them: CR LF, LF or CR end a line; a last
// line without an end counts.
std::vector<std::string> SplitTextLines(std::string_view text);

}  // namespace setup::engine
