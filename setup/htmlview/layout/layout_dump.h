// The text form of a laid-out document that tests compare: one line per section, line and float,
// indented by nesting depth, each a kind followed by name=value pairs.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace htmlview {

void DumpLine(std::string& out, int depth, std::string_view kind,
              std::initializer_list<std::pair<const char*, int>> values,
              std::string_view text = {});

}  // namespace htmlview
