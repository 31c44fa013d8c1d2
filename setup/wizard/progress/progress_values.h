// The numbers a page's progress elements show: the thread progress fitted to the 32-bit range of
// a progress control, and the percent a Tag-100 element reads from its variable.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace setup::wizard {

struct BarRange
{
    std::int32_t max = 0;
    std::int32_t min = 0;
    std::int32_t position = 0;
};

// A maximum above 2^31-1 (byte counts of large installations) scales all three down by 1024;
// otherwise their low 32 bits are taken.
BarRange FitBarRange(std::int64_t position, std::int64_t max, std::int64_t min);

// The low 32 bits, as a gauge takes them.
std::int32_t Low32(std::int64_t value);

// A Tag-100 element's value text as a whole number; empty when it is none.
std::optional<std::int32_t> PercentValue(std::string_view text);

}  // namespace setup::wizard
