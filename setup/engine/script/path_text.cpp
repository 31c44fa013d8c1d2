#include "setup/engine/script/path_text.h"

#include "setup/engine/rtl/code_page.h"

namespace setup::engine {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Index of the last character of the text that is one of the delimiters, skipping the trail
// bytes of double-byte characters.
std::size_t LastDelimiter(std::string_view text, std::string_view delimiters,
                          const rtl::CodePageFacts& codePage)
{
    const auto& leadByte = codePage.leadByte;
    std::size_t last = kNone;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (leadByte[static_cast<unsigned char>(text[i])]) {
            ++i;
            continue;
        }
        if (delimiters.find(text[i]) != std::string_view::npos)
            last = i;
    }
    return last;
}

bool EndsWithBackslash(std::string_view path, const rtl::CodePageFacts& codePage)
{
    return !path.empty() && LastDelimiter(path, "\\", codePage) == path.size() - 1;
}

}  // namespace

std::string IncludeBackslash(std::string_view path, const rtl::CodePageFacts& codePage)
{
    if (path.empty() || EndsWithBackslash(path, codePage))
        return std::string(path);
    return std::string(path) + '\\';
}

std::string ExcludeBackslash(std::string_view path, const rtl::CodePageFacts& codePage)
{
    if (EndsWithBackslash(path, codePage))
        path.remove_suffix(1);
    return std::string(path);
}

std::string ExtractFilePath(std::string_view path, const rtl::CodePageFacts& codePage)
{
    const std::size_t at = LastDelimiter(path, "\\:", codePage);
    return at == kNone ? std::string() : std::string(path.substr(0, at + 1));
}

std::string ExtractFileName(std::string_view path, const rtl::CodePageFacts& codePage)
{
    const std::size_t at = LastDelimiter(path, "\\:", codePage);
    return std::string(at == kNone ? path : path.substr(at + 1));
}

std::string ExtractFileExt(std::string_view path, const rtl::CodePageFacts& codePage)
{
    const std::size_t at = LastDelimiter(path, ".\\:", codePage);
    if (at == kNone || path[at] != '.')
        return {};
    return std::string(path.substr(at));
}

std::string ExtractFileDrive(std::string_view path)
{
    if (path.size() >= 2 && path[1] == ':')
        return std::string(path.substr(0, 2));
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // \\server\share: up to the backslash after the share name.
        std::size_t separators = 0;
        std::size_t i = 2;
        for (; i < path.size(); ++i) {
            if (path[i] == '\\' && ++separators == 2)
                break;
        }
        return std::string(path.substr(0, i));
    }
    return {};
}

std::string ExtractFileBaseName(std::string_view path, const rtl::CodePageFacts& codePage)
{
    const std::string name = ExtractFileName(path, codePage);
    const std::size_t at = LastDelimiter(name, ".", codePage);
    return at == kNone ? name : name.substr(0, at);
}

std::string ExtractFileExtNoDot(std::string_view path, const rtl::CodePageFacts& codePage)
{
    const std::string ext = ExtractFileExt(path, codePage);
    return ext.empty() ? ext : ext.substr(1);
}

std::string RemoveDoubleQuotes(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        if (c != '"')
            result += c;
    }
    return result;
}

std::string CleanPathEnd(std::string_view path, const rtl::CodePageFacts& codePage)
{
    return ExcludeBackslash(RemoveDoubleQuotes(path), codePage);
}

std::pair<std::string, std::string> SplitAtFirst(std::string_view text, std::string_view separator)
{
    const std::size_t at = separator.empty() ? kNone : text.find(separator);
    if (at == kNone)
        return {std::string(text), std::string()};
    return {std::string(text.substr(0, at)), std::string(text.substr(at + separator.size()))};
}

std::string ParamStrOf(std::string_view commandLine, int index)
{
    std::size_t p = 0;
    const auto isBlank = [&](std::size_t i) {
        return static_cast<unsigned char>(commandLine[i]) <= ' ' && commandLine[i] != '\0';
    };
    for (int current = 0;; ++current) {
        while (p < commandLine.size() && isBlank(p))
            ++p;
        if (p >= commandLine.size() || commandLine[p] == '\0')
            return {};
        std::string argument;
        bool quoted = false;
        while (p < commandLine.size() && commandLine[p] != '\0' && (quoted || !isBlank(p))) {
            if (commandLine[p] == '"')
                quoted = !quoted;
            else
                argument += commandLine[p];
            ++p;
        }
        if (current == index)
            return argument;
    }
}

std::string UninstallCommandPath(std::string_view uninstallString)
{
    std::string text(uninstallString);
    const size_t first = text.find('"');
    if (first != std::string::npos) {
        text.erase(first, 1);
        const size_t second = text.find('"', first);
        if (second != std::string::npos)
            text.erase(second);
    }
    return text;
}

}  // namespace setup::engine
