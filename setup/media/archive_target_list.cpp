#include "setup/media/archive_target_list.h"

#include <cstring>

namespace setup::media {

ArchiveTargetList::ArchiveTargetList(const setup::rtl::TStringList& names)
{
    m_buffers.reserve(names.Count());
    m_pointers.reserve(names.Count());
    for (const std::string& name : names.Items()) {
        auto buffer = std::make_unique<char[]>(name.size() + 1);
        std::memcpy(buffer.get(), name.c_str(), name.size() + 1);
        m_pointers.push_back(buffer.get());
        m_buffers.push_back(std::move(buffer));
    }
    m_record.names = m_pointers.empty() ? nullptr : m_pointers.data();
    m_record.count = static_cast<std::uint32_t>(m_pointers.size());
}

}  // namespace setup::media
