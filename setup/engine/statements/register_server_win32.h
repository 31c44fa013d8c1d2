// Registering and unregistering COM servers: type libraries, server programs ("/regserver") and
// server libraries (DllRegisterServer), chosen by the file's extension.
#pragma once

#include <string>

namespace setup::engine {

// False on any failure; the current folder is the file's own while it registers.
bool RegisterServerFile(const std::string& path, bool registering);

bool RegisterTypeLibraryFile(const std::string& path, bool registering);
// Started with the quoted path and the switch, not waited for: true once it started.
bool RegisterServerProgram(const std::string& path, bool registering);
bool RegisterServerLibrary(const std::string& path, bool registering);

}  // namespace setup::engine
