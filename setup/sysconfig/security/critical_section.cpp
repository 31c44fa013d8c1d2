#include "setup/sysconfig/security/critical_section.h"

namespace setup::sysconfig::security {

void CriticalSection::Enter()
{
    m_mutex.lock();
    m_owner = std::this_thread::get_id();
    ++m_count;
    SetErrorCode(0);
}

bool CriticalSection::TryEnter()
{
    if (!m_mutex.try_lock())
        return SetErrorCode(kErrorSectionBusy);
    m_owner = std::this_thread::get_id();
    ++m_count;
    return SetErrorCode(0);
}

bool CriticalSection::Leave()
{
    if (!OwnedByCurrentThread())
        return SetErrorCode(kErrorSectionNotOwned);
    if (--m_count == 0)
        m_owner = std::thread::id();
    m_mutex.unlock();
    return SetErrorCode(0);
}

}  // namespace setup::sysconfig::security
