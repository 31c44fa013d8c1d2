// The text form layout: nested "object Name: TClass ... end" blocks with one "Name = value" line
// per property. Text to tree and back; with the binary codec this converts either way.
#pragma once

#include <string>
#include <string_view>

#include "setup/forms/form_tree.h"

namespace setup::forms {

// Raises EParserError naming the line for text that does not follow the grammar.
FormObject ReadTextForm(std::string_view text);
// Raises EFilerError for what text cannot express: names that are not identifiers and floats that
// are not finite. Integers are written in decimal and strings as quoted ANSI text, so reading the
// text back chooses the narrowest integer type and a string type by content.
std::string WriteTextForm(const FormObject& root);

}  // namespace setup::forms
