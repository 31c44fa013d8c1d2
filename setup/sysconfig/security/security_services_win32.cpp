#include "setup/sysconfig/security/security_services_win32.h"

#include "core/text_convert.h"
#include "setup/sysconfig/security/security_api_win32.h"
#include "setup/sysconfig/security/share_api_win32.h"

namespace setup::sysconfig::security {

namespace {

std::wstring WidenAnsi(std::string_view text)
{
    return core::AnsiToWide(text);
}

Win32SecurityApi& SecurityApi()
{
    static Win32SecurityApi security;  // stateless
    return security;
}

}  // namespace

AccessControlServices Win32AccessControlServices(engine::IWow64Services& wow64)
{
    return {&SecurityApi(), &wow64, &WidenAnsi};
}

ShareStatementServices Win32ShareStatementServices(engine::IWow64Services& wow64)
{
    static Win32ShareApi shares;  // stateless
    return {&shares, &SecurityApi(), &wow64, &WidenAnsi};
}

}  // namespace setup::sysconfig::security
