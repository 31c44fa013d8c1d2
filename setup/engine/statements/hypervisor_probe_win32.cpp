#include "setup/engine/statements/hypervisor_probe_win32.h"

#include <windows.h>

#include <cstdint>

namespace setup::engine {

namespace {

constexpr std::uint32_t kVmwareMagic = 0x564D5868;  // "VMXh"
constexpr std::uint32_t kVmwarePort = 0x5658;       // "VX"
constexpr std::uint32_t kVmwareGetVersion = 10;

enum class Probe
{
    None,
    Vmware,
    VirtualPc
};

// Only the probing thread's own fault at the probe instruction is taken; every other exception
// goes on to the handlers that expect it.
thread_local Probe t_activeProbe = Probe::None;

constexpr unsigned char kInPortOpcode = 0xED;  // IN EAX, DX
constexpr unsigned char kVirtualPcInstruction[] = {0x0F, 0x3F, 0x07, 0x0B};

#if defined(_M_X64) || defined(__x86_64__)
DWORD64& InstructionPointer(CONTEXT& context)
{
    return context.Rip;
}
void SetEbx(CONTEXT& context, std::uint32_t value)
{
    context.Rbx = value;
}
#else
DWORD& InstructionPointer(CONTEXT& context)
{
    return context.Eip;
}
void SetEbx(CONTEXT& context, std::uint32_t value)
{
    context.Ebx = value;
}
#endif

bool IsProbeFault(DWORD code)
{
    return code == EXCEPTION_PRIV_INSTRUCTION || code == EXCEPTION_ILLEGAL_INSTRUCTION ||
           code == EXCEPTION_ACCESS_VIOLATION;
}

LONG CALLBACK ProbeFaultHandler(EXCEPTION_POINTERS* pointers) noexcept
{
    const Probe probe = t_activeProbe;
    if (probe == Probe::None || !IsProbeFault(pointers->ExceptionRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    CONTEXT& context = *pointers->ContextRecord;
    const auto* code = reinterpret_cast<const unsigned char*>(InstructionPointer(context));
    if (probe == Probe::Vmware && code[0] == kInPortOpcode) {
        // A real machine refuses the port: EBX keeps its zero, which is not the magic.
        InstructionPointer(context) += 1;
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    if (probe == Probe::VirtualPc && code[0] == kVirtualPcInstruction[0] &&
        code[1] == kVirtualPcInstruction[1] && code[2] == kVirtualPcInstruction[2] &&
        code[3] == kVirtualPcInstruction[3]) {
        SetEbx(context, 0xFFFFFFFF);
        InstructionPointer(context) += sizeof(kVirtualPcInstruction);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// The handler is installed for one probe and removed again, also when the probe fails.
class ProbeScope
{
public:
    explicit ProbeScope(Probe probe)
        : m_handler(::AddVectoredExceptionHandler(1, &ProbeFaultHandler))
    {
        t_activeProbe = probe;
    }
    ~ProbeScope()
    {
        t_activeProbe = Probe::None;
        if (m_handler != nullptr)
            ::RemoveVectoredExceptionHandler(m_handler);
    }
    ProbeScope(const ProbeScope&) = delete;
    ProbeScope& operator=(const ProbeScope&) = delete;
    bool Installed() const { return m_handler != nullptr; }

private:
    void* m_handler;
};

}  // namespace

bool IsVmware()
{
    const ProbeScope scope(Probe::Vmware);
    if (!scope.Installed())
        return false;
    std::uint32_t eax = kVmwareMagic;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = kVmwareGetVersion;
    std::uint32_t edx = kVmwarePort;
    asm volatile("inl %%dx, %%eax" : "+a"(eax), "+b"(ebx), "+c"(ecx), "+d"(edx) : : "memory");
    return ebx == kVmwareMagic;
}

bool IsVirtualPc()
{
    const ProbeScope scope(Probe::VirtualPc);
    if (!scope.Installed())
        return false;
    std::uint32_t eax = 1;
    std::uint32_t ebx = 0;
    asm volatile(".byte 0x0F, 0x3F, 0x07, 0x0B" : "+a"(eax), "+b"(ebx) : : "memory");
    return ebx == 0;
}

}  // namespace setup::engine
