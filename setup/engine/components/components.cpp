#include "setup/engine/components/components.h"

#include <vector>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/int_text.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

constexpr int kBytesWord = 6;
constexpr int kKilobytesWord = 7;
constexpr int kMegabytesWord = 8;
constexpr std::int64_t kMebibyte = 1048576;
constexpr std::int64_t kGibibyte = 1073741824;

// Sizes come from the script and from state files written by earlier runs: wrap rather than
// overflow on absurd figures.
std::int64_t AddWrapping(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

std::int64_t SubtractWrapping(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}

// True when the name or any of its parent folders ("A", "A\B" of "A\B\C") is in the list.
bool NameOrParentListed(const rtl::TStringList& list, std::string_view name)
{
    if (ContainsText(list, name))
        return true;
    for (std::size_t slash = name.find('\\'); slash != std::string_view::npos;
         slash = name.find('\\', slash + 1)) {
        if (ContainsText(list, name.substr(0, slash)))
            return true;
    }
    return false;
}

void StoreAt(rtl::TStringList& list, std::size_t index, std::string text)
{
    while (list.Count() <= index)
        list.Add({});
    list[index] = std::move(text);
}

}  // namespace

bool ContainsText(const rtl::TStringList& list, std::string_view text)
{
    return list.IndexOf(text) != -1;
}

void RemoveFirstText(rtl::TStringList& list, std::string_view text)
{
    const int found = list.IndexOf(text);
    if (found == -1)
        return;
    std::vector<std::string> items = list.Items();
    items.erase(items.begin() + found);
    list.Clear();
    for (std::string& item : items)
        list.Add(std::move(item));
}

int ComponentModel::IndexOfComponent(std::string_view name) const
{
    return ComponentNames.IndexOf(name);
}

bool ComponentModel::IsComponentDeleted(std::string_view name) const
{
    return ContainsText(DeletedComponents, name);
}

bool ComponentModel::IsComponentHidden(std::string_view name) const
{
    return ContainsText(HiddenComponents, name);
}

bool ComponentModel::IsComponentOrParentHidden(std::string_view name) const
{
    return NameOrParentListed(HiddenComponents, name);
}

bool ComponentModel::IsInChoiceLockedList(std::string_view name) const
{
    return ContainsText(ChoiceLockedComponents, name);
}

bool ComponentModel::IsComponentChoiceLocked(std::string_view name) const
{
    return NameOrParentListed(ChoiceLockedComponents, name);
}

void ComponentModel::DefineComponent(std::string_view name, std::string_view description,
                                     bool selected)
{
    int index = IndexOfComponent(name);
    if (index != -1) {
        RemoveFirstText(DeletedComponents, name);
    } else {
        index = static_cast<int>(ComponentNames.Count());
        ComponentNames.Add(std::string(name));
    }
    const auto at = static_cast<std::size_t>(index);
    StoreAt(ComponentDescriptions, at, std::string(description));
    if (!ContainsText(ComponentTable, name)) {
        ComponentTable.Add(std::string(name));
        ComponentTable.Add("0");
    }
    // A state given earlier (by the script or a loaded state file) wins over the definition's.
    if (StateAt(at).empty())
        StoreStateAt(at, selected);
}

void ComponentModel::SetComponentState(std::string_view name, bool selected)
{
    const int index = IndexOfComponent(name);
    if (index != -1)
        StoreStateAt(static_cast<std::size_t>(index), selected);
}

bool ComponentModel::GetComponentState(std::string_view name) const
{
    const int index = IndexOfComponent(name);
    if (index == -1 || IsComponentDeleted(name))
        return false;
    return IsSelectedState(StateAt(static_cast<std::size_t>(index)));
}

std::string ComponentModel::StateAt(std::size_t index) const
{
    return index < ComponentStates.Count() ? ComponentStates[index] : std::string();
}

void ComponentModel::SetComponentSelected(int index, bool selected)
{
    if (index >= 0 && static_cast<std::size_t>(index) < ComponentNames.Count())
        StoreStateAt(static_cast<std::size_t>(index), selected);
}

void ComponentModel::StoreStateAt(std::size_t index, bool selected)
{
    // A state file cut short may leave fewer states than names; the gap reads as "no state".
    StoreAt(ComponentStates, index, BoolToText(selected));
}

void ComponentModel::ClearComponents()
{
    ComponentNames.Clear();
    ComponentStates.Clear();
    ComponentDescriptions.Clear();
    DeletedComponents.Clear();
    HiddenComponents.Clear();
    ChoiceLockedComponents.Clear();
}

std::int64_t ComponentModel::GetComponentSize(std::string_view name) const
{
    const int found = ComponentTable.IndexOf(name);
    if (found == -1 || static_cast<std::size_t>(found) + 1 >= ComponentTable.Count())
        return 0;
    return rtl::TryStrToInt64(ComponentTable[static_cast<std::size_t>(found) + 1]).value_or(0);
}

std::string ComponentModel::GetComponentDescription(std::string_view name) const
{
    const int index = IndexOfComponent(name);
    if (index == -1 || static_cast<std::size_t>(index) >= ComponentDescriptions.Count())
        return {};
    return ComponentDescriptions[static_cast<std::size_t>(index)];
}

std::int64_t ComponentModel::GetFreeSpace(const ScriptVariables& variables) const
{
    const std::string targetDir = variables.Get("TARGETDIR");
    if (targetDir.empty())
        return -1;
    const std::string root = VolumeRootOf(targetDir);
    if (root.empty() || m_disk == nullptr)
        return 0;
    return m_disk->AvailableBytes(root).value_or(0);
}

std::int64_t ComponentModel::SelectedComponentSize() const
{
    std::int64_t total = 0;
    for (std::size_t i = 0; i < ComponentNames.Count(); ++i) {
        const std::string& name = ComponentNames[i];
        if (IsSelectedState(StateAt(i)) && !IsComponentDeleted(name))
            total = AddWrapping(total, GetComponentSize(name));
    }
    return total;
}

std::int64_t ComponentModel::GetRequiredSpace() const
{
    return SubtractWrapping(SelectedComponentSize(), InstalledComponentSize);
}

std::int64_t ComponentModel::GetRemainingSpace(const ScriptVariables& variables) const
{
    return SubtractWrapping(GetFreeSpace(variables), GetRequiredSpace());
}

std::string ComponentModel::GetFreeSpaceText(const ScriptVariables& variables,
                                             const SetupMessages& messages) const
{
    return FormatSize(GetFreeSpace(variables), messages);
}

std::string ComponentModel::GetRequiredSpaceText(const SetupMessages& messages) const
{
    return FormatSize(GetRequiredSpace(), messages);
}

std::string ComponentModel::GetRemainingSpaceText(const ScriptVariables& variables,
                                                  const SetupMessages& messages) const
{
    return FormatSize(GetRemainingSpace(variables), messages);
}

std::string ComponentModel::GetComponentSizeText(std::string_view name,
                                                 const SetupMessages& messages) const
{
    return FormatSize(GetComponentSize(name), messages);
}

bool IsSelectedState(std::string_view state)
{
    return TextToBool(state);
}

std::string FormatSize(std::int64_t bytes, const SetupMessages& messages)
{
    int unitWord = kBytesWord;
    std::int64_t count = bytes;
    if (bytes >= kGibibyte) {
        unitWord = kMegabytesWord;
        count = bytes / kMebibyte;
    } else if (bytes >= kMebibyte) {
        unitWord = kKilobytesWord;
        count = bytes / 1024;
    }
    const bool negative = count < 0;
    // Through unsigned so the most negative count has a magnitude too.
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
    std::string digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits.insert(digits.begin(), ',');
            inGroup = 0;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
        ++inGroup;
    } while (magnitude != 0);
    return (negative ? "-" : "") + digits + " " + messages.Text(unitWord);
}

int LastCharPos(char character, std::string_view text)
{
    const std::size_t found = text.rfind(character);
    return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

std::string VolumeRootOf(std::string_view path)
{
    if (path.size() >= 2 && path[1] == ':')
        return std::string(path.substr(0, 2)) + "\\";
    if (!path.starts_with("\\\\"))
        return {};
    const std::size_t serverEnd = path.find('\\', 2);
    if (serverEnd == std::string_view::npos || serverEnd == 2)
        return {};
    const std::size_t shareEnd = path.find('\\', serverEnd + 1);
    const std::string_view root = path.substr(0, shareEnd);
    if (root.size() == serverEnd + 1)
        return {};
    return std::string(root) + "\\";
}

}  // namespace setup::engine
