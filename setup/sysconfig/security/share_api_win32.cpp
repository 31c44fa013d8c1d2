#include "setup/sysconfig/security/share_api_win32.h"

#include <windows.h>

#include <lm.h>
#include <winspool.h>

#include <vector>

namespace setup::sysconfig::security {

namespace {

// The records are the headers' own for each bitness: pointers make them 32 bytes on x86 and 56 on
// x64, so no size is written down by hand.
static_assert(sizeof(SHARE_INFO_2) == (sizeof(void*) == 8 ? 56 : 32));
static_assert(sizeof(SHARE_INFO_1) == (sizeof(void*) == 8 ? 24 : 12));

LPWSTR Text(const std::wstring& text)
{
    return const_cast<LPWSTR>(text.c_str());
}

LPWSTR ServerOrLocal(const std::wstring& server)
{
    return server.empty() ? nullptr : Text(server);
}

std::wstring Copy(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring();
}

// The record in the layout of the level; its texts stay owned by `share`.
SHARE_INFO_2 ToInfo2(const ShareRecord& share)
{
    SHARE_INFO_2 info{};
    info.shi2_netname = Text(share.netName);
    info.shi2_type = share.type;
    info.shi2_remark = Text(share.remark);
    info.shi2_permissions = share.permissions;
    info.shi2_max_uses = static_cast<DWORD>(share.maxUses);
    info.shi2_current_uses = share.currentUses;
    info.shi2_path = Text(share.path);
    info.shi2_passwd = share.password.empty() ? nullptr : Text(share.password);
    return info;
}

SHARE_INFO_1 ToInfo1(const ShareRecord& share)
{
    SHARE_INFO_1 info{};
    info.shi1_netname = Text(share.netName);
    info.shi1_type = share.type;
    info.shi1_remark = Text(share.remark);
    return info;
}

}  // namespace

std::uint32_t Win32ShareApi::ShareAdd(const std::wstring& server, int level,
                                      const ShareRecord& share)
{
    SHARE_INFO_2 info2 = ToInfo2(share);
    SHARE_INFO_1 info1 = ToInfo1(share);
    LPBYTE buffer =
        level == 2 ? reinterpret_cast<LPBYTE>(&info2) : reinterpret_cast<LPBYTE>(&info1);
    return NetShareAdd(ServerOrLocal(server), static_cast<DWORD>(level), buffer, nullptr);
}

std::uint32_t Win32ShareApi::ShareDel(const std::wstring& server, const std::wstring& netName)
{
    return NetShareDel(ServerOrLocal(server), Text(netName), 0);
}

std::uint32_t Win32ShareApi::ShareGetInfo(const std::wstring& server, const std::wstring& netName,
                                          int level, ShareRecord& share)
{
    LPBYTE buffer = nullptr;
    const NET_API_STATUS result =
        NetShareGetInfo(ServerOrLocal(server), Text(netName), static_cast<DWORD>(level), &buffer);
    if (result != NERR_Success)
        return result;
    if (level == 2) {
        const auto* info = reinterpret_cast<const SHARE_INFO_2*>(buffer);
        share = {Copy(info->shi2_netname),
                 info->shi2_type,
                 Copy(info->shi2_remark),
                 info->shi2_permissions,
                 static_cast<std::int32_t>(info->shi2_max_uses),
                 info->shi2_current_uses,
                 Copy(info->shi2_path),
                 Copy(info->shi2_passwd)};
    } else {
        const auto* info = reinterpret_cast<const SHARE_INFO_1*>(buffer);
        share = ShareRecord{};
        share.netName = Copy(info->shi1_netname);
        share.type = info->shi1_type;
        share.remark = Copy(info->shi1_remark);
    }
    NetApiBufferFree(buffer);
    return 0;
}

std::uint32_t Win32ShareApi::ShareSetInfo(const std::wstring& server, const std::wstring& netName,
                                          int level, const ShareRecord& share)
{
    SHARE_INFO_2 info2 = ToInfo2(share);
    SHARE_INFO_1 info1 = ToInfo1(share);
    LPBYTE buffer =
        level == 2 ? reinterpret_cast<LPBYTE>(&info2) : reinterpret_cast<LPBYTE>(&info1);
    return NetShareSetInfo(ServerOrLocal(server), Text(netName), static_cast<DWORD>(level), buffer,
                           nullptr);
}

std::uint32_t Win32ShareApi::SetPrinterShare(const std::wstring& printerName,
                                             const std::wstring& netName)
{
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(Text(printerName), &printer, &defaults))
        return GetLastError();
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::uint32_t result = 0;
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
        result = GetLastError();
    } else {
        auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
        if (netName.empty()) {
            info->Attributes &= ~PRINTER_ATTRIBUTE_SHARED;
        } else {
            info->pShareName = Text(netName);
            info->Attributes |= PRINTER_ATTRIBUTE_SHARED;
        }
        info->pSecurityDescriptor = nullptr;  // the printer's security stays as it is
        if (!SetPrinterW(printer, 2, buffer.data(), 0))
            result = GetLastError();
    }
    ClosePrinter(printer);
    return result;
}

}  // namespace setup::sysconfig::security
