// "Mathematics": 64-bit integer arithmetic that wraps instead of overflowing, and the script's
// small linear congruential generator.
#include <limits>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/statements_variables.h"

namespace setup::engine {

namespace {

std::int64_t Wrap(std::uint64_t bits)
{
    return static_cast<std::int64_t>(bits);
}

std::int32_t Low32(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

// Quotient and remainder truncated toward zero; the minimum divided by -1 wraps to itself.
std::optional<std::int64_t> Divide(std::int64_t a, std::int64_t b, bool remainder)
{
    if (b == 0)
        return std::nullopt;
    if (b == -1)
        return remainder ? 0 : Wrap(0ull - static_cast<std::uint64_t>(a));
    return remainder ? a % b : a / b;
}

// Only the low eight bits of the count matter; 64 and more shift every bit out.
std::int64_t Shift(std::int64_t a, std::int64_t b, bool left)
{
    const unsigned count = static_cast<unsigned>(static_cast<std::uint64_t>(b) & 0xFF);
    if (count >= 64)
        return 0;
    const auto bits = static_cast<std::uint64_t>(a);
    return Wrap(left ? bits << count : bits >> count);
}

std::optional<std::string> Compute(MathematicsGenerator& generator, const std::string& textA,
                                   const std::string& textB, std::int64_t op)
{
    if (op == 11) {
        if (textA.empty())
            return std::nullopt;
        return std::to_string(static_cast<unsigned char>(textA.front()));
    }
    const std::int64_t a = TextToInt64(textA);
    const bool needsB = (op >= 0 && op < 10) || op == 13;
    const std::int64_t b = needsB ? TextToInt64(textB) : 0;
    const auto ua = static_cast<std::uint64_t>(a);
    const auto ub = static_cast<std::uint64_t>(b);
    std::optional<std::int64_t> result;
    switch (op) {
        case 0:
            result = Wrap(ua + ub);
            break;
        case 1:
            result = Wrap(ua - ub);
            break;
        case 2:
            result = Wrap(ua * ub);
            break;
        case 3:
            result = Divide(a, b, false);
            break;
        case 4:
            result = Divide(a, b, true);
            break;
        case 5:
            result = Wrap(ua & ub);
            break;
        case 6:
            result = Wrap(ua | ub);
            break;
        case 7:
            result = Wrap(ua ^ ub);
            break;
        case 8:
            result = Shift(a, b, true);
            break;
        case 9:
            result = Shift(a, b, false);
            break;
        case 10:
            result = Wrap(~ua);
            break;
        case 12:
            return std::string(1, static_cast<char>(ua & 0xFF));
        case 13:
            generator.multiplier = Low32(a);
            generator.increment = Low32(b);
            result = Wrap(ua + ub);
            break;
        case 14:
            generator.state = Low32(a);
            result = generator.state;
            break;
        case 15: {
            const std::uint32_t product = static_cast<std::uint32_t>(generator.multiplier) *
                                          static_cast<std::uint32_t>(generator.state);
            const auto r = static_cast<std::int32_t>(
                product + static_cast<std::uint32_t>(generator.increment));
            generator.state = r % 32767;
            result = Divide(r, a, true);
            break;
        }
        default:
            break;  // an unknown operation has no result
    }
    if (!result)
        return std::nullopt;
    return std::to_string(*result);
}

}  // namespace

std::string Calculate(MathematicsGenerator& generator, const std::string& operandA,
                      const std::string& operandB, const std::string& operation)
{
    try {
        return Compute(generator, operandA, operandB, TextToInt64(operation))
            .value_or(std::string());
    } catch (const std::exception&) {
        return {};
    }
}

void MathematicsStatement(StatementContext& statement)
{
    const ResultVariable result(statement, RawParam(statement, 4));
    result.Assign(Calculate(statement.Engine().Parts.Get<MathematicsGenerator>(),
                            ExpandedParam(statement, 1), ExpandedParam(statement, 2),
                            RawParam(statement, 3)));
}

}  // namespace setup::engine
