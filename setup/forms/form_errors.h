// The failures of form streaming: a damaged or foreign binary form, text the form parser cannot
// read, and read errors that a reader's error callback leaves unhandled.
#pragma once

#include <string>

#include "setup/engine/rtl/exceptions.h"

namespace setup::forms {

// Any failure while reading or converting a form.
class EFilerError : public rtl::Exception
{
public:
    using Exception::Exception;
};

// Damaged binary form data: the one message of every structural fault, so a damaged file tells
// nothing about where the reader gave up.
class EInvalidStreamFormat : public EFilerError
{
public:
    EInvalidStreamFormat() : EFilerError("Invalid stream format") {}
};

// Text form data that does not follow the grammar; the message names the line.
class EParserError : public EFilerError
{
public:
    EParserError(const std::string& message, int line)
        : EFilerError(message + " on line " + std::to_string(line))
    {}
};

// A property, class or value that the component model cannot take.
class EReadError : public EFilerError
{
public:
    using EFilerError::EFilerError;
};

}  // namespace setup::forms
