// The INI and text-file statements that act at once: "Get INI File Settings", "Read from Text
// File" with the one text file kept open between reads, and "Write to Text File", which adds one
// line to a file without disturbing the rest of it.
#pragma once

#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/statements/text_file_format.h"

namespace setup::engine {

struct TextFileRead
{
    bool exists = false;  // false: the file (or its folder) is not there
    bool read = false;    // the whole file was read into bytes
    std::string bytes;
};

// The files the statements read and write, whole.
class ITextFileSystem
{
public:
    virtual ~ITextFileSystem() = default;
    virtual TextFileRead ReadFile(const std::string& path) = 0;
    // Makes a read-only file writable first, then replaces the file's bytes; false on failure.
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    // The same, adding the bytes at the end of the existing file and leaving what is there.
    virtual bool AppendFile(const std::string& path, const std::string& bytes) = 0;
    // The value of the key in the section; empty when the file, section or key is missing.
    virtual std::string ReadIniValue(const std::string& file, const std::string& section,
                                     const std::string& key) = 0;
    virtual IAnsiCodec& Codec() = 0;
};

struct TextFileStatementServices
{
    IWow64Services* wow64 = nullptr;
    ITextFileSystem* files = nullptr;
};

void RegisterTextFileStatements(StatementHandlerTable& table,
                                const TextFileStatementServices& services);

// The path "Read from Text File" holds open; empty when none.
std::string OpenTextFilePath(EngineState& engine);
// Forgets the open text file; the interpreter's clean-up calls it when the script ends.
void CloseOpenTextFile(EngineState& engine);

// A path given with this prefix reads the whole rest of the file into one variable.
inline constexpr std::string_view kReadAllPrefix = "#READALL\\";

// Statement bodies.
void GetIniFileSettingsStatement(StatementContext& statement,
                                 const TextFileStatementServices& services);
void ReadFromTextFileStatement(StatementContext& statement,
                               const TextFileStatementServices& services);
void WriteToTextFileStatement(StatementContext& statement,
                              const TextFileStatementServices& services);

}  // namespace setup::engine
