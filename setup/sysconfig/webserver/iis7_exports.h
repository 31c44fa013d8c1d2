// The exports of the version-7 helper library "ahadmin_wrapper.dll": standard calling convention,
// ANSI texts, booleans as one byte, 32-bit integers, out buffers of kHelperBufferSize bytes that
// the caller allocates. The bridge calls them and the helper library defines them.
#pragma once

#include <windows.h>

#include <cstdint>

namespace setup::sysconfig::webserver::exports {

inline constexpr std::int32_t kHelperBufferSize = 102400;

using Flag = unsigned char;
using Text = const char*;

using GetIISSiteList = std::int32_t(WINAPI*)(char* buffer, std::int32_t size);
using GetIISProperty = Flag(WINAPI*)(std::int32_t site, Text folder, Text name, char* buffer,
                                     std::int32_t size);
using SetIISProperty = std::int32_t(WINAPI*)(std::int32_t site, Text folder, Text name, Text value);
using CreateIISSite = std::int32_t(WINAPI*)(Text description, Text siteNumber, Text ipAddress,
                                            Text hostHeader, Text port, Text securePort,
                                            std::int32_t connectionTimeout, Flag keepAlive,
                                            Flag logging, Flag enableAsp, Flag enableExe,
                                            Flag unlimitedConnections, Flag iis7Flag,
                                            std::int32_t maxConnections, std::int32_t serverSize);
using CreateIISSiteFolder = std::int32_t(WINAPI*)(
    Text folder, std::int32_t site, Text physicalPath, Flag sourceAccess, Flag readAccess,
    Flag writeAccess, Flag directoryBrowsing, Flag logVisits, Flag contentIndexed,
    std::int32_t isolation, std::int32_t executeLevel, Flag enableDefaultDocument,
    Text defaultDocuments, Text documentFooter, Flag anonymousAccess, Flag ntlmAuthentication,
    Flag basicAuthentication, Text mimeMap, Text applicationPool);
using DeleteIISSiteFolder = std::int32_t(WINAPI*)(std::int32_t site, Text folder);
using GetIISAnonUser = std::int32_t(WINAPI*)(char* buffer, std::int32_t size);
using GetIISSiteIndex = std::int32_t(WINAPI*)(Text description, std::int32_t* site);
using DeleteIISSite = std::int32_t(WINAPI*)(std::int32_t site);
using ControlIISSite = std::int32_t(WINAPI*)(std::int32_t site, std::int32_t code);
using GetIISUniqueAccountID = std::int32_t(WINAPI*)(std::int32_t* number);
using GetIISSiteState = std::int32_t(WINAPI*)(std::int32_t site, std::int32_t* state);

}  // namespace setup::sysconfig::webserver::exports
