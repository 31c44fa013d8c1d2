// The network-share functions of Windows (netapi32) and printer sharing through the spooler.
// Wine's share functions are stubs and one of them ends the process: tests use a fake server.
#pragma once

#include "setup/sysconfig/security/share_api.h"

namespace setup::sysconfig::security {

class Win32ShareApi final : public IShareApi
{
public:
    std::uint32_t ShareAdd(const std::wstring& server, int level,
                           const ShareRecord& share) override;
    std::uint32_t ShareDel(const std::wstring& server, const std::wstring& netName) override;
    std::uint32_t ShareGetInfo(const std::wstring& server, const std::wstring& netName, int level,
                               ShareRecord& share) override;
    std::uint32_t ShareSetInfo(const std::wstring& server, const std::wstring& netName, int level,
                               const ShareRecord& share) override;
    std::uint32_t SetPrinterShare(const std::wstring& printerName,
                                  const std::wstring& netName) override;
};

}  // namespace setup::sysconfig::security
