// What the user selected in Explorer: each item's kind, its path and the commands of the
// configuration that apply to it, and the commands every selected item shares.
#pragma once

#include "suite/shellmenu/menu_configuration.h"

#include <cstdint>
#include <string>
#include <vector>

namespace shellmenu {

enum class ShellObjectKind
{
    File,
    Directory,
    Drive,
    Special,  // a namespace item named by a class identifier, such as the Recycle Bin
    Null,     // anything that gets no command
};

struct ShellObject
{
    ShellObjectKind kind = ShellObjectKind::Null;
    std::wstring path;       // the class identifier for a namespace item, "" for Null
    std::wstring extension;  // files only
};

// Drive types as the system numbers them.
enum class DriveType : std::uint32_t
{
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// What the selection asks the file system about a path.
class IPathFacts
{
public:
    virtual bool IsDirectory(const std::wstring& path) = 0;
    virtual bool Exists(const std::wstring& path) = 0;
    virtual DriveType DriveTypeOf(const std::wstring& path) = 0;

protected:
    ~IPathFacts() = default;
};

ShellObject MakeShellObject(const std::wstring& path, IPathFacts& facts);
ShellObject MakeSpecialObject(const std::wstring& classId);

// The text after the last "." anywhere in the path; "" when it has none.
std::wstring ExtensionOf(const std::wstring& path);

// The configuration's commands for this item; an empty list when none apply.
const CommandList& CommandsFor(const ShellObject& item, MenuConfiguration& configuration);

// Removes from `running` every entry that `own` lacks, by identity, keeping the order.
void Intersect(CommandList& running, const CommandList& own);

// The commands every item shares, in the first item's order.
CommandList SharedCommands(const std::vector<ShellObject>& selection,
                           MenuConfiguration& configuration);

}  // namespace shellmenu
