// A raw-data resource of a module copied into a file: how the setup program carries the helper
// programs and libraries it writes into the support folder.
#pragma once

#include <windows.h>

#include <string>

namespace setup::engine {

// The RT_RCDATA resource of the name (null module: the program itself) written to the path,
// replacing a file there. Raises when the resource is missing or the file cannot be written.
void WriteResourceFile(HMODULE module, const char* name, const std::string& path);

}  // namespace setup::engine
