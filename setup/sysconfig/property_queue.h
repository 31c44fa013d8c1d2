// The installer properties that statements queue for the product's package until the next install
// writes them into its Property table.
#pragma once

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

// Queues one property; no variables are expanded here.
void AddMSIProperty(std::string_view name, std::string_view value);
// The queue as it stands (empty when nothing was queued since the last install), and taking it
// over for writing: the queue no longer exists afterwards.
std::vector<QueuedProperty> QueuedMSIProperties();
std::optional<std::vector<QueuedProperty>> TakeMSIPropertyQueue();

}  // namespace setup::sysconfig
