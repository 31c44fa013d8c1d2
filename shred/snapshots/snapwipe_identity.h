// Snapwipe's COM identity: the class, its interface, the type library and the AppID.
#pragma once

#include <windows.h>

#include <snapwipe.h>

namespace shred::snapshots {

// {9609541C-734F-46FD-9A6A-5CECD4F91B9C}
inline constexpr CLSID kSnapwipeoClsid = {
    0x9609541C, 0x734F, 0x46FD, {0x9A, 0x6A, 0x5C, 0xEC, 0xD4, 0xF9, 0x1B, 0x9C}};
// {803D36F8-9B91-4D12-8525-F7B821F8CEA7}
inline constexpr IID kISnapwipeoIid = {
    0x803D36F8, 0x9B91, 0x4D12, {0x85, 0x25, 0xF7, 0xB8, 0x21, 0xF8, 0xCE, 0xA7}};

// {167E5747-3214-4C21-9A67-E5D46DB07DBF}
inline constexpr GUID kSnapwipeLibId = {
    0x167E5747, 0x3214, 0x4C21, {0x9A, 0x67, 0xE5, 0xD4, 0x6D, 0xB0, 0x7D, 0xBF}};

inline constexpr wchar_t kSnapwipeoClsidText[] = L"{9609541C-734F-46FD-9A6A-5CECD4F91B9C}";
inline constexpr wchar_t kSnapwipeAppIdText[] = L"{786401D2-A2F7-4A1E-B0C4-247015D28B3C}";
inline constexpr wchar_t kSnapwipeTypeLibText[] = L"{167E5747-3214-4C21-9A67-E5D46DB07DBF}";
// The interface's key; its proxy/stub class shares the interface's GUID.
inline constexpr wchar_t kISnapwipeoIidText[] = L"{803D36F8-9B91-4D12-8525-F7B821F8CEA7}";

// The class's one interface after IUnknown, as widl declares it from snapwipe.idl (the same
// declaration the merged proxy/stub is built from). VNTRemovePV's result is the remover's own code
// (1, -1 .. -4, -10), not a COM status.
using ::ISnapwipeo;

}  // namespace shred::snapshots
