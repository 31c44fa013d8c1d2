#include "setup/wizard/progress/progress_values.h"

#include <limits>

#include "setup/engine/rtl/int_text.h"

namespace setup::wizard {

std::int32_t Low32(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

BarRange FitBarRange(std::int64_t position, std::int64_t max, std::int64_t min)
{
    if (max > std::numeric_limits<std::int32_t>::max()) {
        position /= 1024;
        max /= 1024;
        min /= 1024;
    }
    return {Low32(max), Low32(min), Low32(position)};
}

std::optional<std::int32_t> PercentValue(std::string_view text)
{
    return rtl::TryStrToInt(text);
}

}  // namespace setup::wizard
