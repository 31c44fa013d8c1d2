// Published property values as text, for code that reads and writes properties knowing only
// their names (the rules of a page, an inspector): the text of each kind of value, setting a value
// from such a text, and the texts a property admits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/forms/class_info.h"
#include "setup/forms/component.h"
#include "setup/forms/format_settings.h"

namespace setup::forms {

// Colours by identifier, else as "$" and eight hexadecimal digits; read back from an identifier, a
// decimal number or "$" and hexadecimal digits.
std::string ColorToText(std::int32_t color);
std::optional<std::int32_t> TextToColor(std::string_view text);

// Where names of components and methods come from: the root owns the components a reference may
// name and its class publishes the handlers.
struct PropertyTextContext
{
    TComponent* root = nullptr;
    FormatSettings settings;
};

// Integers by their type's names ("(None)" for no shortcut), enumerations and sets by
// identifiers ("[akLeft,akTop]"), dates and times in the settings' formats (empty for 0),
// components by name, handlers by method name, other objects by address. 64-bit integers have no
// text.
std::string GetPropertyText(const TPersistent& instance, const PropInfo& info,
                            const PropertyTextContext& context);

// Stores the value a text stands for; the property keeps its value and rtl::Exception is raised
// when the text stands for none. A text equal to the current one does not reach the setter. A
// set's text shorter than three characters changes nothing; objects other than components are not
// set from text.
void SetPropertyText(TPersistent& instance, const PropInfo& info, std::string_view text,
                     const PropertyTextContext& context);

// The texts a property admits: the standard and system colours, the cursors from 0 down to -32,
// the character sets, the usual shortcuts, an enumeration's identifiers, or the names of the
// root's components that fit a reference. Empty for the rest.
std::vector<std::string> GetPropertyValues(const PropInfo& info,
                                           const PropertyTextContext& context);

}  // namespace setup::forms
