// The Windows side of the INI and text-file statements: whole-file reads and writes through the
// ANSI file calls, the profile reader and the ANSI code page's conversions.
#pragma once

#include "setup/engine/statements/statements_text_files.h"

namespace setup::engine {

class Win32AnsiCodec final : public IAnsiCodec
{
public:
    std::u16string ToUtf16(std::string_view ansi) override;
    std::string FromUtf16(std::u16string_view text) override;
};

class Win32TextFileSystem final : public ITextFileSystem
{
public:
    TextFileRead ReadFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool AppendFile(const std::string& path, const std::string& bytes) override;
    std::string ReadIniValue(const std::string& file, const std::string& section,
                             const std::string& key) override;
    IAnsiCodec& Codec() override { return m_codec; }

private:
    Win32AnsiCodec m_codec;
};

// The process's own services, one instance each.
TextFileStatementServices Win32TextFileStatementServices(IWow64Services& wow64);

}  // namespace setup::engine
