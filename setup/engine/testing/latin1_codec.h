// A stand-in for the ANSI code page in tests: Latin-1, where every byte is its own code point
// and a character beyond it becomes '?'.
#pragma once

#include "setup/engine/statements/text_file_format.h"

namespace setup::engine::testing {

class Latin1Codec final : public IAnsiCodec
{
public:
    std::u16string ToUtf16(std::string_view ansi) override
    {
        std::u16string text;
        for (const char c : ansi)
            text.push_back(static_cast<unsigned char>(c));
        return text;
    }
    std::string FromUtf16(std::u16string_view text) override
    {
        std::string ansi;
        for (const char16_t c : text)
            ansi.push_back(c < 0x100 ? static_cast<char>(c) : '?');
        return ansi;
    }
};

}  // namespace setup::engine::testing
