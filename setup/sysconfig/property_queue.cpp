#include "setup/sysconfig/property_queue.h"

#include "setup/engine/script/variables.h"

namespace setup::sysconfig {

void MsiPropertyQueue::AddMSIProperty(std::string_view name, std::string_view value)
{
    std::lock_guard lock(m_lock);
    if (!m_queue)
        m_queue.emplace();
    m_queue->push_back({std::string(name), engine::EncodeNewlines(value)});
}

std::vector<QueuedProperty> MsiPropertyQueue::QueuedMSIProperties() const
{
    std::lock_guard lock(m_lock);
    return m_queue ? *m_queue : std::vector<QueuedProperty>();
}

std::optional<std::vector<QueuedProperty>> MsiPropertyQueue::TakeMSIPropertyQueue()
{
    std::lock_guard lock(m_lock);
    return std::exchange(m_queue, std::nullopt);
}

}  // namespace setup::sysconfig
