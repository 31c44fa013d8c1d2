#include <cstring>
#include <iterator>
#include <stdexcept>

#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/statements/statements_registry.h"
#include "setup/engine/statements/statements_system_info.h"

namespace setup::engine {

namespace {

constexpr const char* kIisKey = "SOFTWARE\\Microsoft\\INetStp";
constexpr const char* kInternetExplorerKey = "SOFTWARE\\Microsoft\\Internet Explorer";

struct VersionGate
{
    std::uint32_t major;
    std::uint32_t minor;
};

// The Windows versions of settings 19 to 26, in setting order.
constexpr VersionGate kVersionGates[] = {{4, 0}, {4, 10}, {4, 11}, {4, 90},
                                         {4, 0}, {5, 0},  {5, 1},  {5, 2}};

// The IIS levels (major * 10 + minor) of settings 53 to 58, in setting order.
constexpr std::uint32_t kIisLevels[] = {60, 51, 50, 40, 30, 20};

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
    return ReadRegistryText(*services.registry, kLocalMachine, key, valueName,
                            services.registryView);
}

OsVersionInfo Version(const SystemInfoServices& services)
{
    return GetOsVersionInfo(*services.facts);
}

// The language of the system's own files: its number (33) or its name (34); empty when unknown.
std::string LanguageAnswer(int number, const SystemInfoServices& services)
{
    const std::optional<SystemLanguage> language = services.machine->GetSystemLanguage();
    if (!language)
        return std::string();
    return number == 33 ? std::to_string(language->id & 0xFFFF) : language->name;
}

using SettingAnswer = std::string (*)(int number, const SystemInfoServices& services);

// Settings first to last share one answer.
struct SettingRow
{
    int first;
    int last;
    SettingAnswer answer;
};

using Services = const SystemInfoServices&;

constexpr SettingRow kSettings[] = {
    {0, 0, [](int, Services s) { return Bool(IsAdministrator(*s.facts)); }},
    {1, 7,
     [](int n, Services s) {
         return Bool(
             MemoryAtLeast(s.facts->GetMemoryStatus().totalPhysical, kMemoryMegabytes[n - 1]));
     }},
    {8, 12,
     [](int n, Services s) {
         return Bool(
             ScreenAtLeast(s.facts->Screen(), kScreens[n - 8].width, kScreens[n - 8].height));
     }},
    {13, 16,
     [](int n, Services s) {
         return Bool(s.facts->Screen().bitsPerPixel >= kColourDepths[n - 13]);
     }},
    {17, 17, [](int, Services s) { return Bool(!Version(s).nt); }},
    {18, 18, [](int, Services s) { return Bool(Version(s).nt); }},
    {19, 26,
     [](int n, Services s) {
         const VersionGate& gate = kVersionGates[n - 19];
         return Bool(VersionAtLeast(Version(s), gate.major, gate.minor));
     }},
    {27, 32, [](int n, Services s) { return Bool(Version(s).servicePack >= n - 26); }},
    {33, 34, &LanguageAnswer},
    {35, 35, [](int, Services s) { return RegisteredText(s, "RegisteredOwner"); }},
    {36, 36, [](int, Services s) { return RegisteredText(s, "RegisteredOrganization"); }},
    {37, 52,
     [](int n, Services s) { return Bool(BrowserFileAtLeast(s, kBrowserVersions[n - 37])); }},
    {53, 58, [](int n, Services s) { return Bool(IisAtLeast(*s.registry, kIisLevels[n - 53])); }},
    {59, 59, [](int, Services s) { return s.machine->IISAnonymousUser(); }},
    {60, 60, [](int, Services s) { return s.machine->LogonUserOrDomain(true); }},
    {61, 61, [](int, Services s) { return s.machine->ComputerName(); }},
    {62, 62, [](int, Services s) { return s.machine->LogonUserOrDomain(false); }},
    {63, 63, [](int, Services s) { return GroupWord(*s.facts); }},
    {64, 64, [](int, Services s) { return std::to_string(s.facts->Screen().dotsPerInch); }},
    {65, 65, [](int, Services s) { return Bool(s.facts->IsWow64()); }},
    {66, 66, [](int, Services s) { return Bool(s.machine->SystemMetric(kSmTabletPc) != 0); }},
    {67, 67, [](int, Services s) { return Bool(s.machine->SystemMetric(kSmMediaCenter) != 0); }},
    {68, 68, [](int, Services s) { return Bool(s.facts->IsServerSystem()); }},
    {69, 69, [](int, Services s) { return Bool(VersionAtLeast(Version(s), 6, 0)); }},
    {70, 70, [](int, Services s) { return Bool(s.machine->IsVmware()); }},
    {71, 71, [](int, Services s) { return Bool(s.machine->IsVirtualPc()); }},
    {72, 72, [](int, Services s) { return Bool(InternetExplorer7(*s.registry)); }},
    {73, 73, [](int, Services s) { return Bool(IisAtLeast(*s.registry, 70)); }},
    {74, 74,
     [](int, Services s) { return Bool(!s.machine->IsVmware() && !s.machine->IsVirtualPc()); }},
    {75, 75, [](int, Services s) { return GetProcessorArchitecture(*s.facts); }},
    {76, 76,
     [](int, Services s) {
         const OsVersionInfo info = Version(s);
         return Bool(VersionAtLeast(info, 6, 0) && info.servicePack >= 1 &&
                     s.facts->IsServerSystem());
     }},
    {77, 77, [](int, Services s) { return Bool(s.facts->IsProcessElevated()); }},
};

// Each number has at most one row.
constexpr bool RowsAscendAndAreDisjoint()
{
    for (std::size_t i = 0; i < std::size(kSettings); ++i) {
        if (kSettings[i].first > kSettings[i].last)
            return false;
        if (i > 0 && kSettings[i - 1].last >= kSettings[i].first)
            return false;
    }
    return true;
}
static_assert(RowsAscendAndAreDisjoint());
static_assert(std::size(kMemoryMegabytes) == 7 && std::size(kScreens) == 5 &&
              std::size(kColourDepths) == 4 && std::size(kVersionGates) == 8 &&
              std::size(kBrowserVersions) == 16 && std::size(kIisLevels) == 6);

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
    for (const SettingRow& row : kSettings) {
        if (number >= row.first && number <= row.last)
            return row.answer(number, services);
    }
    return std::nullopt;
}

}  // namespace setup::engine
