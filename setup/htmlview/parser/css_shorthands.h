// Declarations as the style model takes them: shorthand properties expanded into the simple
// ones, and "url(" references resolved against a linked sheet's base.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace htmlview {

using DeclarationSink = std::function<void(const std::string& property, const std::string& value)>;

// The words of a shorthand value: spaces folded, none after a comma, quoted stretches kept whole,
// a word with "/" after its first character split before the "/". At most maxWords.
std::vector<std::string> SplitShorthandWords(std::string_view value, std::size_t maxWords);

// A "url(...)" value with its reference resolved against the base (a URL or a folder).
std::string ResolveUrlValue(std::string_view value, std::string_view basePath);

// Hands a declaration to the sink: a shorthand as the simple properties it sets, any other
// property as it is (with a "url(" reference resolved when a base is given).
void ExpandDeclaration(const std::string& property, const std::string& value,
                       std::string_view basePath, const DeclarationSink& sink);

}  // namespace htmlview
