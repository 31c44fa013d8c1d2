// Path and name texts of the ANSI code page: folder, name and extension parts, backslashes and
// quotes. Delimiters are searched character by character, so the trail byte of a double-byte
// character is never taken for a backslash.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "setup/engine/rtl/code_page.h"

namespace setup::engine {

// Each takes the lead bytes of the process's code page unless a test pins another.
std::string IncludeBackslash(std::string_view path,
                             const rtl::CodePageFacts& codePage = rtl::SystemCodePage());
std::string ExcludeBackslash(std::string_view path,
                             const rtl::CodePageFacts& codePage = rtl::SystemCodePage());
// The folder part with its trailing '\' (or the drive with ':'); empty without one.
std::string ExtractFilePath(std::string_view path,
                            const rtl::CodePageFacts& codePage = rtl::SystemCodePage());
std::string ExtractFileName(std::string_view path,
                            const rtl::CodePageFacts& codePage = rtl::SystemCodePage());
// The extension with its '.'; empty when the name has none.
std::string ExtractFileExt(std::string_view path,
                           const rtl::CodePageFacts& codePage = rtl::SystemCodePage());
// "C:" or "\\server\share" from the start of a path; empty otherwise.
std::string ExtractFileDrive(std::string_view path);
std::string ExtractFileBaseName(std::string_view path,
                                const rtl::CodePageFacts& codePage = rtl::SystemCodePage());
std::string ExtractFileExtNoDot(std::string_view path,
                                const rtl::CodePageFacts& codePage = rtl::SystemCodePage());
std::string RemoveDoubleQuotes(std::string_view text);
std::string CleanPathEnd(std::string_view path,
                         const rtl::CodePageFacts& codePage = rtl::SystemCodePage());
// Before and after the first separator; without one the whole text and the empty text.
std::pair<std::string, std::string> SplitAtFirst(std::string_view text, std::string_view separator);

// The index-th argument of a command line by the runtime's rules: arguments are separated by
// blanks and control characters, double quotes group and are removed. Index 0 is the program.
std::string ParamStrOf(std::string_view commandLine, int index);

// The program path of an uninstall command: the text from its first double quote to the next one
// ("C:\Program Files\App\setup.exe" /x -> C:\Program Files\App\setup.exe); unquoted, the whole
// text.
std::string UninstallCommandPath(std::string_view uninstallString);

}  // namespace setup::engine
