// "Parse String" and "Extract Path": texts and paths cut into parts.
#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/fast_strings.h"
#include "setup/engine/script/path_text.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/statements_variables.h"

namespace setup::engine {

namespace {

// Characters from a 1-based start position to the end; a start below 1 counts as 1.
std::string TailFrom(const std::string& text, std::int64_t start)
{
    if (start < 1)
        start = 1;
    if (start > static_cast<std::int64_t>(text.size()))
        return {};
    return text.substr(static_cast<std::size_t>(start - 1));
}

// The first count characters; a count below 0 counts as 0.
std::string HeadOf(const std::string& text, std::int64_t count)
{
    if (count <= 0)
        return {};
    return text.substr(0, static_cast<std::size_t>(count));
}

}  // namespace

ParsedParts ParseStringParts(const std::string& text, const std::string& searchText,
                             const std::string& searchDelimiter, std::int32_t mode)
{
    const auto length = static_cast<std::int64_t>(searchText.size());
    const auto delimiterLength = static_cast<std::int64_t>(searchDelimiter.size());
    std::int64_t pos = 0;
    std::int64_t skip = 1;
    std::int64_t cut = 1;
    switch (mode) {
        case 0: {
            skip = delimiterLength;
            const int found = searchDelimiter.empty()
                                  ? 0
                                  : SearchText(searchDelimiter, searchText, true, 1, true);
            pos = found > 0 ? found : length + 1;
            break;
        }
        case 1: {
            skip = delimiterLength;
            const std::size_t last =
                searchDelimiter.empty() ? std::string::npos : searchText.rfind(searchDelimiter);
            if (last == std::string::npos) {
                pos = 1;
                skip = 0;
            } else {
                pos = static_cast<std::int64_t>(last) + 1;
            }
            break;
        }
        case 2:
            if (const auto count = rtl::TryStrToInt(searchDelimiter)) {
                cut = 0;
                pos = *count;
                if (*count == 0) {
                    pos = 1;
                    cut = 1;
                    skip = -1;
                }
            }
            break;
        case 3:
            if (const auto count = rtl::TryStrToInt(searchDelimiter)) {
                cut = 0;
                pos = length - *count;
            }
            break;
        default:
            break;
    }
    if (pos == 0)
        return {};
    return {HeadOf(text, pos - cut), TailFrom(text, pos + skip)};
}

void ParseStringStatement(StatementContext& statement, const rtl::CodePageFacts& codePage)
{
    const std::string text = ExpandedNormalizedParam(statement, 1);
    const std::string delimiter = ExpandedNormalizedParam(statement, 2);
    const ResultVariable firstResult(statement, RawParam(statement, 3));
    const ResultVariable secondResult(statement, RawParam(statement, 4));
    const std::int32_t mode = TextToInt32(RawParam(statement, 5));
    const bool ignoreCase = TextToBool(RawParam(statement, 7));
    ParsedParts parts = ignoreCase ? ParseStringParts(text, LowerCaseWith(codePage, text),
                                                      LowerCaseWith(codePage, delimiter), mode)
                                   : ParseStringParts(text, text, delimiter, mode);
    if (TextToBool(RawParam(statement, 6))) {
        parts.first = TrimText(parts.first);
        parts.second = TrimText(parts.second);
    }
    firstResult.Assign(parts.first);
    secondResult.Assign(parts.second);
}

std::string ExtractPathPart(const std::string& path, std::int32_t part)
{
    switch (part) {
        case 0:
            return ExtractFileName(path);
        case 1:
            return ExtractFileBaseName(path);
        case 2:
            return ExtractFileExtNoDot(path);
        case 3:
            return ExtractFilePath(path);
        case 4:
            return ExtractFilePath(ExcludeBackslash(ExtractFilePath(path)));
        case 5:
            return IncludeBackslash(ExtractFileDrive(path));
        case 6:
            return StrReplace(path, "\\\\", "\\", kReplaceAll);
        default:
            return path;
    }
}

}  // namespace setup::engine
