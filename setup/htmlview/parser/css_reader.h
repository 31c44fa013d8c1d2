// Reading CSS: a style sheet (a STYLE element's contents or a linked sheet) into rules keyed by
// selector, and a STYLE attribute into the properties of one element.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace htmlview {

// Where the style-sheet reader puts the rules it reads.
class IStyleSheetTarget
{
public:
    virtual ~IStyleSheetTarget() = default;
    // One simple declaration of the rule with this selector key.
    virtual void AddRuleValue(const std::string& key, const std::string& property,
                              const std::string& value) = 0;
    // The counter that keeps descendant selector keys apart: its value, then raised by one.
    virtual int TakeDescendantNumber() = 0;
};

// Where the inline-style reader puts the declarations of a STYLE attribute.
class IDeclarationTarget
{
public:
    virtual ~IDeclarationTarget() = default;
    virtual void Assign(const std::string& property, const std::string& value) = 0;
};

// Hands out the sheet's characters, NUL at the end.
using CharSource = std::function<char()>;

struct StyleSheetSource
{
    CharSource next;
    char current = ' ';     // the caller's current character, read first
    bool fromFile = false;  // a linked sheet: "<" does not end it
    std::string basePath;   // where relative "url(" references of a linked sheet point
};

// Reads rules until the end of the text (or, in a STYLE element, the "<" of its end tag) and
// returns the upper-case character where reading stopped.
char ReadStyleSheet(const StyleSheetSource& source, IStyleSheetTarget& target);

// A style sheet given as text, as a linked sheet is read.
void ReadStyleSheetText(std::string_view text, std::string_view basePath,
                        IStyleSheetTarget& target);

void ReadInlineStyle(std::string_view text, IDeclarationTarget& target);

}  // namespace htmlview
