// Explorermenu's registration as plain data: the COM identity, the values registration writes and
// what unregistration removes. Parent keys ("*", "Folder", the Recycle Bin's class key, their
// "ShellEx" keys, the "Approved" path) are never removed.
#pragma once

#include <string>
#include <vector>

namespace shellmenu {

inline constexpr wchar_t kClsidText[] = L"{167A4A27-28EA-4861-8173-963F9900D44C}";
inline constexpr wchar_t kAppIdText[] = L"{79512DE8-3A0D-4DCA-801F-EE8B75A48487}";
inline constexpr wchar_t kTypeLibText[] = L"{6E46DFF2-2890-41B2-9C14-0E766CEAB835}";
inline constexpr wchar_t kHandlerName[] = L"Vontar Shell Extension";
inline constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

enum class RegistryRoot
{
    Classes,
    Machine,
};

struct RegistrationValue
{
    RegistryRoot root;
    std::wstring key;
    std::wstring name;  // empty: the default value
    std::wstring text;
};

struct RegistrationScript
{
    std::vector<RegistrationValue> values;
    // Keys removed with everything below them, under the classes root.
    std::vector<std::wstring> removedKeys;
    // Values removed on their own, keeping their key.
    std::vector<RegistrationValue> removedValues;
};

// The classes-root keys whose context menus get the handler.
std::vector<std::wstring> HandlerTargets();
// The handler's key under a target.
std::wstring HandlerKey(const std::wstring& target);

RegistrationScript AppIdScript();
// modulePath replaces %MODULE%.
RegistrationScript ClassScript(const std::wstring& modulePath);

}  // namespace shellmenu
