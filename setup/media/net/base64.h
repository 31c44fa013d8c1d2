// Base64 with the standard alphabet and "=" padding (RFC 2045), for Basic and NTLM header values.
#pragma once

#include <string>
#include <string_view>

namespace net {

std::string EncodeBase64(std::string_view bytes);

// Reads groups of four characters; "=" ends its group. Characters outside the alphabet count as 0,
// and a short last group is read as if padded.
std::string DecodeBase64(std::string_view text);

}  // namespace net
