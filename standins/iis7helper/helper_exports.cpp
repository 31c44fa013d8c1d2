// The helper library's exports: the arguments turned into the backend's values, texts copied
// into the caller's buffers, and nothing thrown across the boundary.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "setup/sysconfig/webserver/iis7_exports.h"
#include "standins/iis7helper/helper_backend.h"

namespace {

namespace web = setup::sysconfig::webserver;
using standins::iis7helper::Backend;
using web::exports::Flag;
using web::exports::Text;

std::string Str(Text text)
{
    return text ? std::string(text) : std::string();
}

void CopyOut(const std::string& text, char* buffer, std::int32_t size)
{
    if (buffer == nullptr || size <= 0)
        return;
    const std::size_t count =
        std::min<std::size_t>(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
}

// The answer copied into the caller's buffer or number; what the export returns then.
std::int32_t AnswerText(const std::optional<std::string>& text, char* buffer, std::int32_t size)
{
    CopyOut(text.value_or(""), buffer, size);
    return 1;
}

std::int32_t AnswerNumber(std::optional<std::int32_t> number, std::int32_t fallback,
                          std::int32_t* out)
{
    if (out != nullptr)
        *out = number.value_or(fallback);
    return 1;
}

template <typename Body, typename Result>
Result Guarded(Body body, Result failure) noexcept
{
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

}  // namespace

extern "C" {

std::int32_t WINAPI GetIISSiteList(char* buffer, std::int32_t size)
{
    return Guarded([&] { return AnswerText(Backend().GetSiteList(), buffer, size); }, 0);
}

Flag WINAPI GetIISProperty(std::int32_t site, Text folder, Text name, char* buffer,
                           std::int32_t size)
{
    return Guarded(
        [&]() -> Flag {
            const auto answer = Backend().GetProperty(site, Str(folder), Str(name));
            CopyOut(answer ? answer->second : "!ERROR!", buffer, size);
            return answer && answer->first ? 1 : 0;
        },
        Flag{0});
}

std::int32_t WINAPI SetIISProperty(std::int32_t site, Text folder, Text name, Text value)
{
    return Guarded(
        [&] { return Backend().SetProperty(site, Str(folder), Str(name), Str(value)).value_or(0); },
        0);
}

std::int32_t WINAPI CreateIISSite(Text description, Text siteNumber, Text ipAddress,
                                  Text hostHeader, Text port, Text securePort,
                                  std::int32_t connectionTimeout, Flag keepAlive, Flag logging,
                                  Flag enableAsp, Flag enableExe, Flag unlimitedConnections,
                                  Flag iis7Flag, std::int32_t maxConnections,
                                  std::int32_t serverSize)
{
    return Guarded(
        [&] {
            web::SiteSettings s;
            s.description = Str(description);
            s.siteNumber = Str(siteNumber);
            s.ipAddress = Str(ipAddress);
            s.hostHeader = Str(hostHeader);
            s.port = Str(port);
            s.securePort = Str(securePort);
            s.connectionTimeout = connectionTimeout;
            s.keepAlive = keepAlive != 0;
            s.logging = logging != 0;
            s.enableAsp = enableAsp != 0;
            s.enableExe = enableExe != 0;
            s.unlimitedConnections = unlimitedConnections != 0;
            s.iis7Flag = iis7Flag != 0;
            s.maxConnections = maxConnections;
            s.serverSize = serverSize;
            return Backend().CreateSite(s).value_or(0);
        },
        0);
}

std::int32_t WINAPI CreateIISSiteFolder(Text folder, std::int32_t site, Text physicalPath,
                                        Flag sourceAccess, Flag readAccess, Flag writeAccess,
                                        Flag directoryBrowsing, Flag logVisits, Flag contentIndexed,
                                        std::int32_t isolation, std::int32_t executeLevel,
                                        Flag enableDefaultDocument, Text defaultDocuments,
                                        Text documentFooter, Flag anonymousAccess,
                                        Flag ntlmAuthentication, Flag basicAuthentication,
                                        Text mimeMap, Text applicationPool)
{
    return Guarded(
        [&] {
            web::FolderSettings f;
            f.folder = Str(folder);
            f.siteNumber = site;
            f.physicalPath = Str(physicalPath);
            f.sourceAccess = sourceAccess != 0;
            f.readAccess = readAccess != 0;
            f.writeAccess = writeAccess != 0;
            f.directoryBrowsing = directoryBrowsing != 0;
            f.logVisits = logVisits != 0;
            f.contentIndexed = contentIndexed != 0;
            f.isolation = isolation;
            f.executeLevel = executeLevel;
            f.enableDefaultDocument = enableDefaultDocument != 0;
            f.defaultDocuments = Str(defaultDocuments);
            f.documentFooter = Str(documentFooter);
            f.anonymousAccess = anonymousAccess != 0;
            f.ntlmAuthentication = ntlmAuthentication != 0;
            f.basicAuthentication = basicAuthentication != 0;
            f.mimeMap = Str(mimeMap);
            f.applicationPool = Str(applicationPool);
            return Backend().CreateSiteFolder(f).value_or(0);
        },
        0);
}

std::int32_t WINAPI DeleteIISSiteFolder(std::int32_t site, Text folder)
{
    return Guarded([&] { return Backend().DeleteSiteFolder(site, Str(folder)).value_or(0); }, 0);
}

std::int32_t WINAPI GetIISAnonUser(char* buffer, std::int32_t size)
{
    return Guarded([&] { return AnswerText(Backend().GetAnonUser(), buffer, size); }, 0);
}

std::int32_t WINAPI GetIISSiteIndex(Text description, std::int32_t* site)
{
    return Guarded([&] { return AnswerNumber(Backend().GetSiteIndex(Str(description)), 0, site); },
                   0);
}

std::int32_t WINAPI DeleteIISSite(std::int32_t site)
{
    return Guarded([&] { return Backend().DeleteSite(site).value_or(0); }, 0);
}

std::int32_t WINAPI ControlIISSite(std::int32_t site, std::int32_t code)
{
    return Guarded([&] { return Backend().ControlSite(site, code).value_or(0); }, 0);
}

std::int32_t WINAPI GetIISUniqueAccountID(std::int32_t* number)
{
    return Guarded([&] { return AnswerNumber(Backend().GetUniqueAccountId(), -1, number); }, 0);
}

std::int32_t WINAPI GetIISSiteState(std::int32_t site, std::int32_t* state)
{
    return Guarded([&] { return AnswerNumber(Backend().GetSiteState(site), -1, state); }, 0);
}

}  // extern "C"
