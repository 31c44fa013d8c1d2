// The context-menu handler CVNTShellEx that Explorer creates per menu, and its class factory; the
// module's lock count decides when the library may unload.
#pragma once

#include <windows.h>

#include <unknwn.h>

namespace shellmenu {

// {167A4A27-28EA-4861-8173-963F9900D44C}
inline constexpr CLSID kVNTShellExClsid = {
    0x167A4A27, 0x28EA, 0x4861, {0x81, 0x73, 0x96, 0x3F, 0x99, 0x00, 0xD4, 0x4C}};
// {6E46DFF2-2890-41B2-9C14-0E766CEAB835}
inline constexpr GUID kExplorermenuLibId = {
    0x6E46DFF2, 0x2890, 0x41B2, {0x9C, 0x14, 0x0E, 0x76, 0x6C, 0xEA, 0xB8, 0x35}};

LONG ExplorermenuModuleLocks() noexcept;

// A new class factory with one reference, or NULL when memory runs out.
IClassFactory* NewVNTShellExFactory() noexcept;

}  // namespace shellmenu
