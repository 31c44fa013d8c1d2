// The component model: the installable parts the setup offers, their selection states,
// descriptions, sizes and deleted, hidden and choice-locked marks, and the disk-space figures the
// wizard pages show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/engine/rtl/string_list.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/engine/script/variables.h"

// Windows still defines the 16-bit GetFreeSpace as a macro; the model's own member takes the name.
#ifdef GetFreeSpace
#undef GetFreeSpace
#endif

namespace setup::engine {

// Carries the size of everything outside the named components; never shown in a list.
inline constexpr std::string_view kPredefinedComponent = "TARQ-PREDEF-COMPONENT";

// The free-space query, behind the narrowest interface so tests choose the answer.
class IDiskSpace
{
public:
    virtual ~IDiskSpace() = default;
    // Bytes available to the caller on the volume with this root ("C:\" or "\\server\share\");
    // nothing when the query fails.
    virtual std::optional<std::int64_t> AvailableBytes(const std::string& root) = 0;
};

class ComponentModel
{
public:
    explicit ComponentModel(IDiskSpace* disk = nullptr) : m_disk(disk) {}

    // A component's position in ComponentNames is its index; ComponentStates and
    // ComponentDescriptions run parallel to it.
    rtl::TStringList ComponentNames;
    rtl::TStringList ComponentStates;
    rtl::TStringList ComponentDescriptions;
    // Name and size lines in pairs; survives ClearComponents.
    rtl::TStringList ComponentTable;
    rtl::TStringList DeletedComponents;
    rtl::TStringList HiddenComponents;
    rtl::TStringList ChoiceLockedComponents;
    // What the installed selection already occupies; subtracted from the required space.
    std::int64_t InstalledComponentSize = 0;
    // The data folder a loaded state file names (the earlier installation's).
    std::string EarlierDataDir;

    void SetDiskSpace(IDiskSpace* disk) { m_disk = disk; }

    int IndexOfComponent(std::string_view name) const;
    bool ComponentExists(std::string_view name) const { return IndexOfComponent(name) != -1; }
    bool IsComponentDeleted(std::string_view name) const;
    bool IsComponentHidden(std::string_view name) const;
    bool IsComponentOrParentHidden(std::string_view name) const;
    bool IsInChoiceLockedList(std::string_view name) const;
    bool IsComponentChoiceLocked(std::string_view name) const;

    void DefineComponent(std::string_view name, std::string_view description, bool selected);
    void SetComponentState(std::string_view name, bool selected);
    bool GetComponentState(std::string_view name) const;
    // The state text at an index, empty when none is stored.
    std::string StateAt(std::size_t index) const;
    void SetComponentSelected(int index, bool selected);
    void ClearComponents();

    std::int64_t GetComponentSize(std::string_view name) const;
    std::string GetComponentDescription(std::string_view name) const;

    // On the volume of the run's TARGETDIR: -1 when TARGETDIR is empty, 0 when the query fails.
    std::int64_t GetFreeSpace(const ScriptVariables& variables) const;
    // The selected, not deleted components' sizes.
    std::int64_t SelectedComponentSize() const;
    // SelectedComponentSize net of the installed selection; negative when the user deselects
    // installed components.
    std::int64_t GetRequiredSpace() const;
    std::int64_t GetRemainingSpace(const ScriptVariables& variables) const;

    // With the unit words of the messages given.
    std::string GetFreeSpaceText(const ScriptVariables& variables,
                                 const SetupMessages& messages) const;
    std::string GetRequiredSpaceText(const SetupMessages& messages) const;
    std::string GetRemainingSpaceText(const ScriptVariables& variables,
                                      const SetupMessages& messages) const;
    std::string GetComponentSizeText(std::string_view name, const SetupMessages& messages) const;

private:
    void StoreStateAt(std::size_t index, bool selected);

    IDiskSpace* m_disk;
};

// "TRUE" in any case or exactly "-1".
bool IsSelectedState(std::string_view state);

// "1,023 bytes", "1,024 KB", "1,024 MB": the unit words come from the setup's language strings.
std::string FormatSize(std::int64_t bytes, const SetupMessages& messages);

// 1-based position of the last occurrence of the character, 0 when absent.
int LastCharPos(char character, std::string_view text);

// The root whose free space counts for a folder: "C:\" or "\\server\share\"; empty when the path
// names neither.
std::string VolumeRootOf(std::string_view path);

// List helpers with the model's letter-case rule.
bool ContainsText(const rtl::TStringList& list, std::string_view text);
// Removes the first item equal to the text, letter case ignored.
void RemoveFirstText(rtl::TStringList& list, std::string_view text);

}  // namespace setup::engine
