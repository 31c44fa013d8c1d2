#include "setup/ui/shell_locator.h"

#include "setup/forms/class_builder.h"

namespace setup::ui {

namespace {

// A desktop list is held as no list at all.
IdList Held(const IdList& list)
{
    const auto count = IdListCount(list);
    if (!count || *count == 0)
        return {};
    return list.substr(0, IdListSize(list));
}

}  // namespace

const forms::ClassInfo& TNsShellLocator::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TNsShellLocator>("TNsShellLocator", &forms::TPersistent::StaticClass())
            .Build();
    return info;
}

TNsShellLocator::TNsShellLocator(std::function<IShellNamespace*()> shell)
    : m_shell(std::move(shell))
{}

IdList TNsShellLocator::GetIdList()
{
    if (m_kind == SpecialKind && m_list.empty())
        if (IShellNamespace* shell = Shell())
            if (auto list = shell->SpecialFolder(m_special & 0x7F))
                m_list = Held(*list);
    return m_list.empty() ? DesktopIdList() : m_list;
}

void TNsShellLocator::SetIdList(const IdList& list)
{
    IdList held = Held(list);
    bool changed = m_kind == SpecialKind;
    if (!changed)
        changed = m_list.empty() ? !held.empty()
                                 : held.empty() || CompareAbsolute(Shell(), m_list, held) != 0;
    m_kind = IdListKind;
    m_special = kNoSpecialFolder;
    m_list = std::move(held);
    if (changed)
        Changed();
}

void TNsShellLocator::SetSpecialFolder(std::uint8_t number)
{
    if (m_kind == SpecialKind && m_special == number)
        return;
    m_kind = SpecialKind;
    m_special = number;
    m_list.clear();
    Changed();
}

void TNsShellLocator::SetPath(const std::string& path)
{
    IShellNamespace* shell = Shell();
    auto parsed = shell && !path.empty() ? shell->ParsePath(path) : std::nullopt;
    SetIdList(parsed ? *parsed : IdList{});
}

std::string TNsShellLocator::GetPath()
{
    IShellNamespace* shell = Shell();
    return shell ? shell->PathOf(GetIdList()) : std::string();
}

void TNsShellLocator::Assign(const forms::TPersistent& source)
{
    const auto* other = dynamic_cast<const TNsShellLocator*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    if (other->m_kind == SpecialKind) {
        SetSpecialFolder(other->m_special);
        return;
    }
    SetIdList(other->m_list);
}

std::string TNsShellLocator::Stored() const
{
    std::string bytes(1, static_cast<char>(m_kind));
    if (m_kind == SpecialKind) {
        bytes.push_back(static_cast<char>(m_special));
        return bytes;
    }
    const std::size_t size = IdListSize(m_list);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((size >> shift) & 0xFF));
    bytes.append(m_list, 0, size);
    return bytes;
}

void TNsShellLocator::Restore(std::string_view bytes)
{
    if (bytes.size() >= 2 && bytes[0] == SpecialKind) {
        SetSpecialFolder(static_cast<std::uint8_t>(bytes[1]));
        return;
    }
    if (bytes.size() < 5 || bytes[0] != IdListKind)
        return;
    std::size_t size = 0;
    for (int i = 0; i < 4; ++i)
        size |= static_cast<std::size_t>(static_cast<unsigned char>(bytes[1 + i])) << (8 * i);
    if (size == 0) {
        // An empty stored list means the desktop special folder.
        SetSpecialFolder(0);
        return;
    }
    // The count and the chain come from the file: both must fit the bytes that are there.
    const std::string_view list = bytes.substr(5);
    if (size > list.size() || IdListSize(list.substr(0, size)) != size)
        return;
    SetIdList(IdList(list.substr(0, size)));
}

void TNsShellLocator::DefineProperties(forms::PropertyDefiner& definer)
{
    definer.DefineBinaryProperty(
        "Pidl", [this](std::string_view bytes) { Restore(bytes); },
        [this]() -> std::optional<std::string> {
            if (m_kind == IdListKind && m_list.empty())
                return std::nullopt;
            return Stored();
        });
}

void TNsShellLocator::Changed()
{
    if (onChange)
        onChange();
}

}  // namespace setup::ui
