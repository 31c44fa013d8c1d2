#include "setup/engine/system/system_helpers_win32.h"

namespace setup::engine {

BOOL SetProcessAffinity(HANDLE process, DWORD_PTR mask)
{
    using SetAffinity = BOOL(WINAPI*)(HANDLE, DWORD_PTR);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setAffinity =
        kernel ? reinterpret_cast<SetAffinity>(::GetProcAddress(kernel, "SetProcessAffinityMask"))
               : nullptr;
    return setAffinity ? setAffinity(process, mask) : FALSE;
}

}  // namespace setup::engine
