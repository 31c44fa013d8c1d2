// The registry as the context menu reads it: the "Shell Extension" key (with the 32-bit view's
// path as the fallback), a namespace item's "treatAs" value, and writing the registration.
#pragma once

#include "suite/shellmenu/menu_configuration.h"
#include "suite/shellmenu/registration_plan.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace shellmenu {

// Nothing when neither path opens.
std::unique_ptr<IRegistryKey> OpenShellExtensionKey();

// The "treatAs" text Explorer's class key carries for a namespace item; nothing when the key or
// value is missing or the value is not a readable string.
std::optional<std::wstring> ReadTreatAs(HKEY classKey);

// Removes the script's keys and values, then writes its values; the first failure is returned.
HRESULT ApplyScript(const RegistrationScript& script);
// Removes what the script wrote; a missing key or value is no failure.
HRESULT RemoveScript(const RegistrationScript& script);

}  // namespace shellmenu
