#include <cstring>
#include <stdexcept>

#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/statements_system_info.h"

namespace setup::engine {

namespace {

constexpr int kLocalMachine = 2;
constexpr const char* kIisKey = "SOFTWARE\\Microsoft\\INetStp";
constexpr const char* kInternetExplorerKey = "SOFTWARE\\Microsoft\\Internet Explorer";

struct VersionGate
{
    int setting;
    std::uint32_t major;
    std::uint32_t minor;
};

constexpr VersionGate kVersionGates[] = {
    {19, 4, 0}, {20, 4, 10}, {21, 4, 11}, {22, 4, 90}, {23, 4, 0},
    {24, 5, 0}, {25, 5, 1},  {26, 5, 2},  {69, 6, 0},
};

struct IisGate
{
    int setting;
    std::uint32_t level;  // major * 10 + minor
};

constexpr IisGate kIisGates[] = {{53, 60}, {54, 51}, {55, 50}, {56, 40},
                                 {57, 30}, {58, 20}, {73, 70}};

// The shell browser versions of settings 37 to 52, in setting order.
constexpr FileVersionFields kBrowserVersions[] = {
    {6, 0, 2800, 1106}, {6, 0, 2600, 0},     {5, 50, 4807, 2300}, {5, 50, 4522, 1800},
    {5, 50, 4134, 100}, {5, 0, 3502, 5400},  {5, 0, 3314, 2100},  {5, 0, 2919, 6307},
    {5, 0, 2014, 213},  {4, 72, 3612, 1707}, {4, 72, 3110, 3},    {4, 72, 2106, 7},
    {4, 71, 1712, 5},   {4, 70, 1300, 0},    {4, 70, 1215, 0},    {4, 70, 1155, 0},
};

constexpr FileVersionFields kInternetExplorer7 = {7, 0, 5730, 11};

constexpr std::uint64_t kMemoryMegabytes[] = {32, 64, 128, 256, 512, 1024, 2048};

struct ScreenGate
{
    int width;
    int height;
};
constexpr ScreenGate kScreens[] = {
    {800, 600}, {1024, 768}, {1280, 1024}, {1600, 1200}, {1920, 1440}};

constexpr int kColourDepths[] = {8, 16, 24, 32};

std::string Bool(bool value)
{
    return BoolToText(value);
}

std::optional<std::uint32_t> ReadRegistryDword(IRegistry& registry, int root,
                                               const std::string& keyPath,
                                               const std::string& valueName, std::uint32_t view)
{
    RegistryValue value;
    try {
        if (registry.ReadValue(root, keyPath, valueName, view, value) != RegistryReadStatus::Found)
            return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (value.type != kRegDword || value.data.size() < 4)
        return std::nullopt;
    std::uint32_t bits = 0;
    std::memcpy(&bits, value.data.data(), 4);
    return bits;
}

bool IisAtLeast(IRegistry& registry, std::uint32_t level)
{
    const auto major = ReadRegistryDword(registry, kLocalMachine, kIisKey, "MajorVersion", 0);
    const auto minor = ReadRegistryDword(registry, kLocalMachine, kIisKey, "MinorVersion", 0);
    if (!major || !minor)
        return false;
    return static_cast<std::uint64_t>(*major) * 10 + *minor >= level;
}

bool FieldsAtLeast(const FileVersionFields& installed, const FileVersionFields& wanted)
{
    return installed >= wanted;  // field by field, the first difference decides
}

bool BrowserFileAtLeast(const SystemInfoServices& services, const FileVersionFields& wanted)
{
    const std::string path = services.machine->SystemFolder() + "\\shdocvw.dll";
    const FileVersionFields installed =
        services.machine->FileVersion(path).value_or(FileVersionFields{0, 0, 0, 0});
    return FieldsAtLeast(installed, wanted);
}

// A version text that does not read as numbers is no newer browser.
bool InternetExplorer7(IRegistry& registry)
{
    std::string text =
        ReadRegistryText(registry, kLocalMachine, kInternetExplorerKey, "Version", 0);
    FileVersionFields fields{};
    try {
        for (std::uint32_t& field : fields)
            field = static_cast<std::uint32_t>(NextVersionField(text));
    } catch (const std::exception&) {
        return false;
    }
    return FieldsAtLeast(fields, kInternetExplorer7);
}

std::string RegisteredText(const SystemInfoServices& services, const char* valueName)
{
    const bool nt = GetOsVersionInfo(*services.facts).nt;
    const std::string key = std::string("SOFTWARE\\Microsoft\\") + (nt ? "Windows NT" : "Windows") +
                            "\\CurrentVersion\\";
    return ReadRegistryText(*services.registry, kLocalMachine, key, valueName, RegistryViewFlag);
}

}  // namespace

std::string ReadRegistryText(IRegistry& registry, int root, const std::string& keyPath,
                             const std::string& valueName, std::uint32_t view)
{
    RegistryValue value;
    try {
        if (registry.ReadValue(root, keyPath, valueName, view, value) != RegistryReadStatus::Found)
            return {};
    } catch (const std::exception&) {
        return {};
    }
    if (value.type != kRegSz && value.type != kRegExpandSz)
        return {};
    return value.data.substr(0, value.data.find('\0'));
}

std::optional<std::string> SystemSetting(int number, const SystemInfoServices& services)
{
    ISystemFacts& facts = *services.facts;
    IMachineQueries& machine = *services.machine;
    const auto version = [&] { return GetOsVersionInfo(facts); };

    if (number >= 1 && number <= 7)
        return Bool(
            MemoryAtLeast(facts.GetMemoryStatus().totalPhysical, kMemoryMegabytes[number - 1]));
    if (number >= 8 && number <= 12) {
        const ScreenGate& gate = kScreens[number - 8];
        return Bool(ScreenAtLeast(facts.Screen(), gate.width, gate.height));
    }
    if (number >= 13 && number <= 16)
        return Bool(facts.Screen().bitsPerPixel >= kColourDepths[number - 13]);
    for (const VersionGate& gate : kVersionGates) {
        if (gate.setting == number)
            return Bool(VersionAtLeast(version(), gate.major, gate.minor));
    }
    if (number >= 27 && number <= 32)
        return Bool(version().servicePack >= number - 26);
    if (number >= 37 && number <= 52)
        return Bool(BrowserFileAtLeast(services, kBrowserVersions[number - 37]));
    for (const IisGate& gate : kIisGates) {
        if (gate.setting == number)
            return Bool(IisAtLeast(*services.registry, gate.level));
    }

    switch (number) {
        case 0:
            return Bool(IsAdministrator(facts));
        case 17:
            return Bool(!version().nt);
        case 18:
            return Bool(version().nt);
        case 33:
        case 34: {
            const std::optional<SystemLanguage> language = machine.GetSystemLanguage();
            if (!language)
                return std::string();
            return number == 33 ? std::to_string(language->id & 0xFFFF) : language->name;
        }
        case 35:
            return RegisteredText(services, "RegisteredOwner");
        case 36:
            return RegisteredText(services, "RegisteredOrganization");
        case 59:
            return machine.IISAnonymousUser();
        case 60:
            return machine.LogonUserOrDomain(true);
        case 61:
            return machine.ComputerName();
        case 62:
            return machine.LogonUserOrDomain(false);
        case 63:
            return GroupWord(facts);
        case 64:
            return std::to_string(facts.Screen().dotsPerInch);
        case 65:
            return Bool(facts.IsWow64());
        case 66:
            return Bool(machine.SystemMetric(kSmTabletPc) != 0);
        case 67:
            return Bool(machine.SystemMetric(kSmMediaCenter) != 0);
        case 68:
            return Bool(facts.IsServerSystem());
        case 70:
            return Bool(machine.IsVmware());
        case 71:
            return Bool(machine.IsVirtualPc());
        case 72:
            return Bool(InternetExplorer7(*services.registry));
        case 74:
            return Bool(!machine.IsVmware() && !machine.IsVirtualPc());
        case 75:
            return GetProcessorArchitecture(facts);
        case 76: {
            const OsVersionInfo info = version();
            return Bool(VersionAtLeast(info, 6, 0) && info.servicePack >= 1 &&
                        facts.IsServerSystem());
        }
        case 77:
            return Bool(facts.IsProcessElevated());
        default:
            return std::nullopt;
    }
}

}  // namespace setup::engine
