// Snapwipe's COM class CSnapwipeo and its class factory; the module's lock count decides when
// the library may unload.
#pragma once

#include "shred/snapshots/snapwipe_identity.h"

namespace shred::snapshots {

// Objects and locks alive in this module.
LONG SnapwipeModuleLocks() noexcept;

// A new class factory for CSnapwipeo with one reference, or NULL when memory runs out.
IClassFactory* NewSnapwipeoFactory() noexcept;

}  // namespace shred::snapshots
