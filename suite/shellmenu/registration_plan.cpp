#include "suite/shellmenu/registration_plan.h"

#include "suite/shellmenu/menu_configuration.h"

namespace shellmenu {
namespace {

constexpr wchar_t kClassName[] = L"VNTShellExtension class";
constexpr wchar_t kProgId[] = L"Explorermenu.VNTShellEx.1";
constexpr wchar_t kIndependentProgId[] = L"Explorermenu.VNTShellEx";

}  // namespace

std::vector<std::wstring> HandlerTargets()
{
    return {L"*", L"Folder", L"Directory", L"Drive", std::wstring(L"CLSID\\") + kRecycleBinClassId};
}

std::wstring HandlerKey(const std::wstring& target)
{
    return target + L"\\ShellEx\\ContextMenuHandlers\\" + kHandlerName;
}

RegistrationScript AppIdScript()
{
    const std::wstring appId = std::wstring(L"AppID\\") + kAppIdText;
    RegistrationScript script;
    script.values = {
        {RegistryRoot::Classes, appId, L"", L"Explorermenu"},
        {RegistryRoot::Classes, L"AppID\\Explorermenu.DLL", L"AppID", kAppIdText},
    };
    script.removedKeys = {appId, L"AppID\\Explorermenu.DLL"};
    return script;
}

RegistrationScript ClassScript(const std::wstring& modulePath)
{
    const std::wstring clsid = std::wstring(L"CLSID\\") + kClsidText;
    const std::wstring progId = kProgId;
    const std::wstring independent = kIndependentProgId;
    RegistrationScript script;
    script.values = {
        {RegistryRoot::Classes, progId, L"", kClassName},
        {RegistryRoot::Classes, progId + L"\\CLSID", L"", kClsidText},
        {RegistryRoot::Classes, independent, L"", kClassName},
        {RegistryRoot::Classes, independent + L"\\CLSID", L"", kClsidText},
        {RegistryRoot::Classes, independent + L"\\CurVer", L"", progId},
        {RegistryRoot::Classes, clsid, L"", kClassName},
        {RegistryRoot::Classes, clsid + L"\\ProgID", L"", progId},
        {RegistryRoot::Classes, clsid + L"\\VersionIndependentProgID", L"", independent},
        {RegistryRoot::Classes, clsid + L"\\InprocServer32", L"", modulePath},
        {RegistryRoot::Classes, clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {RegistryRoot::Classes, clsid, L"AppID", kAppIdText},
        {RegistryRoot::Classes, clsid + L"\\TypeLib", L"", kTypeLibText},
    };
    script.removedKeys = {progId, independent, clsid};
    for (const std::wstring& target : HandlerTargets()) {
        const std::wstring handler = HandlerKey(target);
        script.values.push_back({RegistryRoot::Classes, handler, L"", kClsidText});
        script.removedKeys.push_back(handler);
    }
    script.values.push_back(
        {RegistryRoot::Classes,
         HandlerKey(std::wstring(L"CLSID\\") + kRecycleBinClassId) + L"\\VNTShellExParams",
         L"treatAs", kRecycleBinClassId});
    const RegistrationValue approved{RegistryRoot::Machine, kApprovedKey, kClsidText, kHandlerName};
    script.values.push_back(approved);
    script.removedValues.push_back(approved);
    return script;
}

}  // namespace shellmenu
