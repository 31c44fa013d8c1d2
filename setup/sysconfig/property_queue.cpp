#include "setup/sysconfig/property_queue.h"

#include <mutex>

#include "setup/engine/script/variables.h"

namespace setup::sysconfig {
namespace {

std::mutex g_lock;
std::optional<std::vector<QueuedProperty>> g_queue;

}  // namespace

void AddMSIProperty(std::string_view name, std::string_view value)
{
    std::lock_guard lock(g_lock);
    if (!g_queue)
        g_queue.emplace();
    g_queue->push_back({std::string(name), engine::EncodeNewlines(value)});
}

std::vector<QueuedProperty> QueuedMSIProperties()
{
    std::lock_guard lock(g_lock);
    return g_queue ? *g_queue : std::vector<QueuedProperty>();
}

std::optional<std::vector<QueuedProperty>> TakeMSIPropertyQueue()
{
    std::lock_guard lock(g_lock);
    return std::exchange(g_queue, std::nullopt);
}

}  // namespace setup::sysconfig
