// The installer properties that statements queue for the product's package until the next install
// writes them into its Property table.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace setup::sysconfig {

struct QueuedProperty
{
    std::string name;
    std::string value;  // CR LF stored as "$NEWLINE$"
};

// One run's queue: statements add on the GUI thread, the install thread takes it over.
class MsiPropertyQueue
{
public:
    // Queues one property; no variables are expanded here.
    void AddMSIProperty(std::string_view name, std::string_view value);
    // The queue as it stands (empty when nothing was queued since the last install), and taking
    // it over for writing: the queue no longer exists afterwards.
    std::vector<QueuedProperty> QueuedMSIProperties() const;
    std::optional<std::vector<QueuedProperty>> TakeMSIPropertyQueue();

private:
    mutable std::mutex m_lock;
    std::optional<std::vector<QueuedProperty>> m_queue;
};

}  // namespace setup::sysconfig
