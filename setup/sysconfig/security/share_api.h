// The network-share services of the server (netapi32) and the print spooler's sharing, as narrow
// as the share objects need them. Results are 0 or the platform's error code. Tests use a fake
// server: Wine's share functions are stubs, and one of them ends the process.
#pragma once

#include <cstdint>
#include <string>

namespace setup::sysconfig::security {

// One share's information; level 1 carries the net name, type and remark only.
struct ShareRecord
{
    std::wstring netName;
    std::uint32_t type = 0;  // low byte: 0 folder, 1 printer
    std::wstring remark;
    std::uint32_t permissions = 0;
    std::int32_t maxUses = -1;  // -1: unlimited
    std::uint32_t currentUses = 0;
    std::wstring path;
    std::wstring password;
    bool operator==(const ShareRecord&) const = default;
};

class IShareApi
{
public:
    virtual ~IShareApi() = default;
    virtual std::uint32_t ShareAdd(const std::wstring& server, int level,
                                   const ShareRecord& share) = 0;
    virtual std::uint32_t ShareDel(const std::wstring& server, const std::wstring& netName) = 0;
    virtual std::uint32_t ShareGetInfo(const std::wstring& server, const std::wstring& netName,
                                       int level, ShareRecord& share) = 0;
    virtual std::uint32_t ShareSetInfo(const std::wstring& server, const std::wstring& netName,
                                       int level, const ShareRecord& share) = 0;
    // Shares the printer under the net name, or stops sharing it when the name is empty.
    virtual std::uint32_t SetPrinterShare(const std::wstring& printerName,
                                          const std::wstring& netName) = 0;
};

}  // namespace setup::sysconfig::security
