// The binary form stream ("TPF0" and one object record) and the 16-bit resource file around it
// that page files carry. The reader trusts nothing: every length, count and nesting level is
// checked against the bytes that are there, and any fault is EInvalidStreamFormat.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "setup/forms/form_tree.h"

namespace setup::forms {

// Deeper nesting of objects, lists and collections than any form has is taken as damage.
inline constexpr int kMaxFormNesting = 64;

// The form stream: signature and root object record; bytes after the record are ignored.
FormObject ReadBinaryForm(std::span<const std::uint8_t> stream);
std::vector<std::uint8_t> WriteBinaryForm(const FormObject& root);

// A resource file with one form resource: checks the header (type given as the number 10) and
// returns the form stream behind it.
std::span<const std::uint8_t> SkipFormResourceHeader(std::span<const std::uint8_t> file);
// The header for a form stream of `size` bytes under the resource name (upper case by custom).
std::vector<std::uint8_t> FormResourceHeader(const std::string& name, std::size_t size);

}  // namespace setup::forms
