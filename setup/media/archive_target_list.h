// The list of entry names handed to the archive library for one extraction: one zero-terminated
// copy per name in its own buffer, all freed when the list goes.
#pragma once

#include "setup/engine/rtl/string_list.h"
#include "setup/media/archive_library.h"

#include <memory>
#include <vector>

namespace setup::media {

class ArchiveTargetList
{
public:
    explicit ArchiveTargetList(const setup::rtl::TStringList& names);
    ArchiveTargetList(const ArchiveTargetList&) = delete;
    ArchiveTargetList& operator=(const ArchiveTargetList&) = delete;

    TSZW_TARGETFILES* Record() { return &m_record; }

private:
    std::vector<std::unique_ptr<char[]>> m_buffers;
    std::vector<char*> m_pointers;
    TSZW_TARGETFILES m_record{};
};

}  // namespace setup::media
