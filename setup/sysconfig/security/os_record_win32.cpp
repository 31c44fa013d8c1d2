#include "setup/sysconfig/security/os_record_win32.h"

#include <windows.h>

namespace setup::sysconfig::security {

OsVersionFacts ReadOsVersionFacts()
{
    OsVersionFacts facts;
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    facts.haveExtendedRecord = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)) != FALSE;
    if (!facts.haveExtendedRecord) {
        info = {};
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
    }
    facts.platformId = info.dwPlatformId;
    facts.major = info.dwMajorVersion;
    facts.minor = info.dwMinorVersion;
    facts.build = info.dwBuildNumber;
    // Narrowed by the low byte of each character, as the record has always held it.
    for (const wchar_t c : info.szCSDVersion) {
        if (c == 0)
            break;
        facts.servicePackText.push_back(static_cast<char>(c & 0xFF));
    }
    facts.productType = info.wProductType;
    facts.servicePackMajor = info.wServicePackMajor;
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    facts.nativeX64 = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    facts.serverR2 = GetSystemMetrics(SM_SERVERR2) != 0;
    facts.tabletPc = GetSystemMetrics(SM_TABLETPC) != 0;
    facts.starter = GetSystemMetrics(SM_STARTER) != 0;
    facts.mediaCenter = GetSystemMetrics(SM_MEDIACENTER) != 0;
    return facts;
}

}  // namespace setup::sysconfig::security
