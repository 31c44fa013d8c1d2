// Turning a link reference into a local file path.
#pragma once

#include <string>
#include <string_view>

namespace htmlview {

// Decodes percent escapes (an escape in the first position, or one that is not hexadecimal, ends
// the decoding) and, for a reference with "/", drops a "file://" prefix and turns "|" into ":"
// and "/" into "\".
std::string ReferenceToPath(std::string_view reference);

// As ReferenceToPath; a path rooted at "\" (but not "\\", and without a drive) is put under the
// server root.
std::string ReferenceToServerPath(std::string_view reference, std::string_view serverRoot);

}  // namespace htmlview
