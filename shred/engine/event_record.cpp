#include "shred/engine/event_record.h"

#include "shred/engine/shred_types.h"

namespace shred {

ShredEventRecord MakeShredEventRecord(const std::wstring& path, int algorithmId, int result)
{
    const bool done = result == kShredDone;
    ShredEventRecord record;
    record.type = done ? kEventTypeInformation : kEventTypeWarning;
    record.category = kShredStatusCategory;
    record.eventId = done ? kEventShredded : kEventShredFailed;
    record.path = path;
    record.algorithm = std::to_wstring(algorithmId);
    record.result = std::to_wstring(result);
    return record;
}

}  // namespace shred
