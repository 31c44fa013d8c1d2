// The hypervisor back-door probes: the VMware I/O port and the Virtual PC instruction, each run
// for real under a vectored exception handler that turns the fault of a real machine into "no".
#pragma once

namespace setup::engine {

// IN from port 0x5658 with the "VMXh" magic: a VMware host answers the magic in EBX.
bool IsVmware();
// The four-byte Virtual PC instruction: a real processor faults on it.
bool IsVirtualPc();

}  // namespace setup::engine
