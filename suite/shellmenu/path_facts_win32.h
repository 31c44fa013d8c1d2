// The file system's answers about a selected path, from the shell's path functions.
#pragma once

#include "suite/shellmenu/selection.h"

namespace shellmenu {

class Win32PathFacts final : public IPathFacts
{
public:
    bool IsDirectory(const std::wstring& path) override;
    bool Exists(const std::wstring& path) override;
    DriveType DriveTypeOf(const std::wstring& path) override;
};

}  // namespace shellmenu
