#include "setup/htmlview/layout/layout_dump.h"

namespace htmlview {

void DumpLine(std::string& out, int depth, std::string_view kind,
              std::initializer_list<std::pair<const char*, int>> values, std::string_view text)
{
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += kind;
    for (const auto& [name, value] : values) {
        out += ' ';
        out += name;
        out += '=';
        out += std::to_string(value);
    }
    if (!text.empty()) {
        out += " \"";
        out += text;
        out += '"';
    }
    out += '\n';
}

}  // namespace htmlview
