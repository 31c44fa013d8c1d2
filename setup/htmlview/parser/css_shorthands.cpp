#include "setup/htmlview/parser/css_shorthands.h"

#include <array>

#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/util/reference_path.h"
#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/url.h"

namespace htmlview {

namespace {

constexpr std::size_t kMaxWords = 7;
constexpr std::size_t kMaxBoxWords = 4;
constexpr std::array<std::string_view, 4> kSides = {"top", "right", "bottom", "left"};
constexpr std::array<std::string_view, 9> kBorderStyles = {
    "none", "solid", "dashed", "dotted", "double", "groove", "inset", "outset", "ridge"};
constexpr std::array<std::string_view, 9> kFontSizeKeywords = {
    "larger", "smaller", "xx-small", "x-small", "small", "medium", "large", "x-large", "xx-large"};

template <std::size_t N>
bool IsOneOf(std::string_view word, const std::array<std::string_view, N>& words)
{
    for (const std::string_view candidate : words)
        if (!candidate.empty() && word == candidate)
            return true;
    return false;
}

bool IsColorWord(std::string_view word)
{
    return word.starts_with("rgb(") || ParseColor(word, true).has_value();
}

// Takes every "prefix ... )" group out of the value.
std::vector<std::string> TakeGroups(std::string& value, std::string_view prefix)
{
    std::vector<std::string> groups;
    for (std::size_t at = value.find(prefix); at != std::string::npos; at = value.find(prefix)) {
        std::size_t end = value.find(')', at);
        end = end == std::string::npos ? value.size() : end + 1;
        groups.push_back(value.substr(at, end - at));
        value.erase(at, end - at);
    }
    return groups;
}

// The property of one side of a box shorthand: "margin-top", "border-top-width", ...
std::string SideProperty(std::string_view shorthand, std::string_view side)
{
    if (shorthand.starts_with("border-")) {
        return "border-" + std::string(side) + "-" +
               std::string(shorthand.substr(std::string_view("border-").size()));
    }
    return std::string(shorthand) + "-" + std::string(side);
}

void ExpandBox(const std::string& property, const std::string& value, const DeclarationSink& sink)
{
    const std::vector<std::string> words = SplitShorthandWords(value, kMaxBoxWords);
    if (words.empty())
        return;
    // Index of the word for top, right, bottom, left by the number of words.
    static constexpr int kPick[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 1, 2, 1}, {0, 1, 2, 3}};
    for (std::size_t side = 0; side < 4; ++side)
        sink(SideProperty(property, kSides[side]), words[kPick[words.size() - 1][side]]);
}

void ExpandBorder(const std::string& property, std::string value, const DeclarationSink& sink)
{
    for (const std::string& group : TakeGroups(value, "rgb("))
        sink(property + "-color", group);
    for (const std::string& word : SplitShorthandWords(value, kMaxWords)) {
        if (IsColorWord(word)) {
            sink(property + "-color", word);
        } else if (IsOneOf(word, kBorderStyles)) {
            sink(property + "-style", word);
        } else if (property == "border") {
            for (const std::string_view side : kSides)
                sink("border-" + std::string(side) + "-width", word);
        } else {
            sink(property + "-width", word);
        }
    }
}

void ExpandFont(const std::string& value, const DeclarationSink& sink)
{
    for (const std::string& word : SplitShorthandWords(value, kMaxWords)) {
        if (word.starts_with('/'))
            sink("line-height", word.substr(1));
        else if (word == "italic" || word == "oblique")
            sink("font-style", word);
        else if (word == "normal" || word == "bolder" || word == "lighter" || word == "bold")
            sink("font-weight", word);
        else if (word == "small-caps")
            sink("font-variant", word);
        else if (IsOneOf(word, kFontSizeKeywords) || IsAsciiDigit(word.front()))
            sink("font-size", word);
        else
            sink("font-family", word);
    }
}

void ExpandBackground(std::string value, std::string_view basePath, const DeclarationSink& sink)
{
    for (const std::string& group : TakeGroups(value, "rgb("))
        sink("background-color", group);
    for (const std::string& group : TakeGroups(value, "url("))
        sink("background-image", ResolveUrlValue(group, basePath));
    std::vector<std::string> position;
    for (const std::string& word : SplitShorthandWords(value, kMaxWords)) {
        if (IsColorWord(word))
            sink("background-color", word);
        else if (word == "none")
            sink("background-image", word);
        else if (word.find("repeat") != std::string::npos)
            sink("background-repeat", word);
        else if (word == "fixed" || word == "scroll")
            sink("background-attachment", word);
        else
            position.push_back(word);
    }
    if (position.size() == 1)
        sink("background-position", position[0]);
    else if (position.size() > 1)
        sink("background-position", position[position.size() - 2] + " " + position.back());
}

void ExpandListStyle(const std::string& value, std::string_view basePath,
                     const DeclarationSink& sink)
{
    for (const std::string& word : SplitShorthandWords(value, kMaxWords)) {
        if (word.find("url(") != std::string::npos)
            sink("list-style-image", ResolveUrlValue(word, basePath));
        else
            sink("list-style-type", word);
    }
}

}  // namespace

std::vector<std::string> SplitShorthandWords(std::string_view value, std::size_t maxWords)
{
    // Spaces folded, and none kept after a comma.
    std::string folded;
    for (const char c : Trim(value)) {
        const bool space = static_cast<unsigned char>(c) <= ' ';
        if (space && (folded.empty() || folded.back() == ' ' || folded.back() == ','))
            continue;
        if (c == ',' && !folded.empty() && folded.back() == ' ')
            folded.pop_back();
        folded += space ? ' ' : c;
    }
    std::vector<std::string> words;
    std::string word;
    char quote = 0;
    auto finish = [&] {
        if (word.empty() || words.size() >= maxWords)
            return word.clear();
        const std::size_t slash = word.find('/', 1);
        if (slash != std::string::npos && words.size() + 1 < maxWords) {
            words.push_back(word.substr(0, slash));
            words.push_back(word.substr(slash));
        } else {
            words.push_back(word);
        }
        word.clear();
    };
    for (const char c : folded) {
        if (quote != 0) {
            word += c;
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            word += c;
            quote = c;
        } else if (c == ' ') {
            finish();
        } else {
            word += c;
        }
    }
    finish();
    return words;
}

std::string ResolveUrlValue(std::string_view value, std::string_view basePath)
{
    const std::size_t open = value.find("url(");
    if (basePath.empty() || open == std::string_view::npos)
        return std::string(value);
    std::string_view reference = value.substr(open + 4);
    reference = Trim(reference.substr(0, reference.find(')')));
    if (reference.size() >= 2 && (reference.front() == '"' || reference.front() == '\'') &&
        reference.back() == reference.front())
        reference = reference.substr(1, reference.size() - 2);
    std::string path;
    if (basePath.find("://") != std::string_view::npos) {
        path = IsFullUrl(reference) ? std::string(reference) : CombineUrl(basePath, reference);
    } else {
        path = ReferenceToPath(reference);
        const bool absolute = (path.size() > 1 && path[1] == ':') || path.starts_with("\\\\");
        if (!absolute)
            path = std::string(basePath) + path;
    }
    return "url(" + path + ")";
}

void ExpandDeclaration(const std::string& property, const std::string& value,
                       std::string_view basePath, const DeclarationSink& sink)
{
    if (property == "margin" || property == "padding" || property == "border-width" ||
        property == "border-color" || property == "border-style")
        ExpandBox(property, value, sink);
    else if (property == "border" || property == "border-top" || property == "border-right" ||
             property == "border-bottom" || property == "border-left")
        ExpandBorder(property, value, sink);
    else if (property == "font")
        ExpandFont(value, sink);
    else if (property == "background")
        ExpandBackground(value, basePath, sink);
    else if (property == "list-style")
        ExpandListStyle(value, basePath, sink);
    else
        sink(property, ResolveUrlValue(value, basePath));
}

}  // namespace htmlview
