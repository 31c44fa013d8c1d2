#include "setup/htmlview/util/anchor_names.h"

namespace htmlview {

int CharPositionAnchor::AnchorY() const
{
    int y = 0;
    return m_locator.YOfCharPosition(m_position, y) ? y : 0;
}

void AnchorNames::Add(const std::string& name, const IAnchorTarget& target)
{
    m_entries[name] = Entry{&target, nullptr};
}

void AnchorNames::AddCharPosition(const std::string& name, int position)
{
    auto anchor = std::make_unique<CharPositionAnchor>(m_locator, position);
    const IAnchorTarget* target = anchor.get();
    m_entries[name] = Entry{target, std::move(anchor)};
}

const IAnchorTarget* AnchorNames::Find(const std::string& name) const
{
    const auto found = m_entries.find(name);
    return found == m_entries.end() ? nullptr : found->second.target;
}

}  // namespace htmlview
