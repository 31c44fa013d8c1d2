// A light setup: a copy of the running setup engine's image that carries a given file as its
// trailing data, written in that file's place while the file itself waits beside it under the
// name file + ".nox" until the light setup has run.
#pragma once

#include <string>

namespace setup::engine {

// False, leaving `file` as it was, when the program's image or the file cannot be read or the
// light setup cannot be written.
bool BuildLightSetup(const std::string& program, const std::string& file);

// Deletes the light setup and moves the file back under its own name.
void RemoveLightSetup(const std::string& file);

}  // namespace setup::engine
