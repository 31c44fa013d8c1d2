#include "suite/shellmenu/selection.h"

#include <algorithm>

namespace shellmenu {

ShellObject MakeShellObject(const std::wstring& path, IPathFacts& facts)
{
    if (facts.IsDirectory(path)) {
        switch (facts.DriveTypeOf(path)) {
            case DriveType::Unknown:
            case DriveType::NoRootDir:
                return {ShellObjectKind::Directory, path, {}};
            case DriveType::Removable:
            case DriveType::Fixed:
            case DriveType::RamDisk:
                return {ShellObjectKind::Drive, path, {}};
            default:
                return {};
        }
    }
    if (facts.Exists(path))
        return {ShellObjectKind::File, path, ExtensionOf(path)};
    return {};
}

ShellObject MakeSpecialObject(const std::wstring& classId)
{
    return {ShellObjectKind::Special, classId, {}};
}

std::wstring ExtensionOf(const std::wstring& path)
{
    const std::size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : path.substr(dot + 1);
}

const CommandList& CommandsFor(const ShellObject& item, MenuConfiguration& configuration)
{
    static const CommandList kNone;
    switch (item.kind) {
        case ShellObjectKind::File: {
            const std::wstring fileType = L"*." + item.extension;
            return configuration.FileTypeCommands(
                configuration.HasFileType(fileType) ? fileType : kAllFilesKey);
        }
        case ShellObjectKind::Directory:
            return configuration.FileTypeCommands(kAllFilesKey);
        case ShellObjectKind::Drive: {
            const CommandList* drive = configuration.DriveCommands();
            return drive ? *drive : kNone;
        }
        case ShellObjectKind::Special:
            return configuration.HasClassId(item.path) ? configuration.ClassIdCommands(item.path)
                                                       : kNone;
        case ShellObjectKind::Null:
            break;
    }
    return kNone;
}

void Intersect(CommandList& running, const CommandList& own)
{
    std::erase_if(running, [&own](const MenuEntry* entry) {
        return std::find(own.begin(), own.end(), entry) == own.end();
    });
}

CommandList SharedCommands(const std::vector<ShellObject>& selection,
                           MenuConfiguration& configuration)
{
    if (selection.empty())
        return {};
    CommandList running = CommandsFor(selection.front(), configuration);
    for (const ShellObject& item : selection) {
        if (running.empty())
            break;
        Intersect(running, CommandsFor(item, configuration));
    }
    return running;
}

}  // namespace shellmenu
