// The component model keeps text as ANSI, in the process's code page. Form files may also hold
// UTF-16 and UTF-8 strings; this is where they become ANSI on their way into properties.
#pragma once

#include <string>
#include <string_view>

#include "setup/forms/form_tree.h"

namespace setup::forms {

class IAnsiCodePage
{
public:
    // Characters the code page lacks become its default character.
    virtual std::string FromUtf16(std::u16string_view text) const = 0;

protected:
    ~IAnsiCodePage() = default;
};

// The process's code page on Windows; elsewhere Latin-1, with '?' for what it lacks.
const IAnsiCodePage& SystemAnsiCodePage();

// Latin-1: units up to 255 are their own byte.
class Latin1CodePage final : public IAnsiCodePage
{
public:
    std::string FromUtf16(std::u16string_view text) const override;
};

// Malformed sequences (stray or missing continuation bytes, overlong forms, surrogates, values
// past U+10FFFF) become U+FFFD, one for each byte that cannot start a character.
std::u16string Utf8ToUtf16(std::string_view text);

// The value with every WString and UTF8String in it, in lists and collections too, turned into
// an ANSI String or LString.
FormValue WithAnsiStrings(const FormValue& value, const IAnsiCodePage& codePage);
// The text of a string value as ANSI.
std::string AnsiText(const FormValue& value, const IAnsiCodePage& codePage);

}  // namespace setup::forms
