// The boolean expressions of "Evaluate Expression": comparisons of quoted texts joined by "and" and
// "or" (strictly left to right) and grouped in parentheses.
#pragma once

#include <string>
#include <string_view>

namespace setup::engine {

// "TRUE", "FALSE", or "ERROR" for a malformed expression.
std::string EvaluateCondition(std::string_view text);

// Whether a condition written with variable references between dollar signs is well formed.
bool IsValidCondition(std::string_view text);

}  // namespace setup::engine
