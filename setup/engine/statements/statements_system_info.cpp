#include "setup/engine/statements/statements_system_info.h"

#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/statements/statements_registry.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

constexpr int kCsidlProgramFiles = 38;
constexpr int kCsidlProgramFilesCommon = 43;
constexpr const char* kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Folders that are not shell special folders.
enum FolderRule : int
{
    kBootFolder = -1,
    kFirstCdrom = -2,
    kSystemFolder = -3,
    kWindowsFolder = -4,
    kQuickLaunch = -5,
    kWebRoot = -6,
};

struct FolderEntry
{
    int perUser;
    int allUsers;
};

// By folder number 0-27: the special-folder number or rule for each column.
constexpr FolderEntry kFolders[] = {
    {32, 32},                                        // 0 internet cache
    {33, 33},                                        // 1 cookies
    {5, 46},                                         // 2 documents
    {6, 31},                                         // 3 favorites
    {13, 53},                                        // 4 music
    {39, 54},                                        // 5 pictures
    {14, 55},                                        // 6 video
    {19, 19},                                        // 7 network neighbourhood
    {27, 27},                                        // 8 printers
    {kBootFolder, kBootFolder},                      // 9
    {kFirstCdrom, kFirstCdrom},                      // 10
    {48, 47},                                        // 11 administrative tools
    {11, 22},                                        // 12 start menu
    {7, 24},                                         // 13 startup
    {2, 23},                                         // 14 programs
    {26, 35},                                        // 15 application data
    {59, 59},                                        // 16 CD burning
    {0, 25},                                         // 17 desktop
    {20, 20},                                        // 18 fonts
    {40, 62},                                        // 19 profile, all profiles
    {kCsidlProgramFiles, kCsidlProgramFilesCommon},  // 20
    {8, 8},                                          // 21 recent
    {9, 9},                                          // 22 send to
    {kSystemFolder, kSystemFolder},                  // 23
    {21, 21},                                        // 24 templates
    {kWindowsFolder, kWindowsFolder},                // 25
    {kQuickLaunch, kQuickLaunch},                    // 26
    {kWebRoot, kWebRoot},                            // 27
};

std::string WithBackslash(std::string path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

std::string SystemFolderFor(const SystemInfoServices& services, const std::string& targetPlatform)
{
    if (targetPlatform == "Win32" && services.facts->IsWow64()) {
        const std::string wow64 = services.machine->Wow64SystemFolder();
        if (!wow64.empty())
            return wow64;
    }
    return services.machine->SystemFolder();
}

std::string QuickLaunchFolder(IRegistry& registry)
{
    const std::string appData = ReadRegistryText(
        registry, kCurrentUser,
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\", "AppData", 0);
    if (appData.empty())
        return {};
    return WithBackslash(appData) + "Microsoft\\Internet Explorer\\Quick Launch\\";
}

std::string WebRootFolder(const SystemInfoServices& services)
{
    std::string root = ReadRegistryText(*services.registry, kLocalMachine,
                                        "SOFTWARE\\Microsoft\\InetStp", "PathWWWRoot", 0);
    if (!root.empty())
        root = services.environment->Expand(root);
    if (root.empty()) {
        const char* virtualRoots =
            "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters\\Virtual Roots\\";
        root = ReadRegistryText(*services.registry, kLocalMachine, virtualRoots, "/", 0);
        if (root.empty())
            root = ReadRegistryText(*services.registry, kLocalMachine, virtualRoots, "/,", 0);
        // Stored as folder,,flags.
        root = root.substr(0, root.find(','));
    }
    return root;
}

std::string RuleFolder(int rule, const SystemInfoServices& services,
                       const std::string& targetPlatform)
{
    switch (rule) {
        case kBootFolder:
            return ReadRegistryText(*services.registry, kLocalMachine,
                                    std::string(kCurrentVersionKey) + "\\Setup", "BootDir",
                                    services.registryView);
        case kFirstCdrom:
            return GetFirstCdromDrive(*services.machine);
        case kSystemFolder:
            return SystemFolderFor(services, targetPlatform);
        case kWindowsFolder:
            return services.machine->WindowsFolder();
        case kQuickLaunch:
            return QuickLaunchFolder(*services.registry);
        case kWebRoot:
            return WebRootFolder(services);
        default:
            return GetFolderPath(rule, services);
    }
}

void GetSystemSettingsStatement(StatementContext& statement, const SystemInfoServices& services)
{
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::int32_t number = TextToInt32(ExpandedParam(statement, 2));
    // A number outside the table leaves the variable as it was.
    if (const std::optional<std::string> answer = SystemSetting(number, services))
        result.Assign(*answer);
}

void GetOsOrSpLevelStatement(StatementContext& statement, const SystemInfoServices& services)
{
    const ResultVariable result(statement, RawParam(statement, 1));
    const OsVersionInfo version = GetOsVersionInfo(*services.facts);
    if (TextToBool(ExpandedParam(statement, 2)))
        result.Assign(OsLevelName(version, services.facts->IsServerSystem()));
    else
        result.Assign(std::to_string(version.servicePack));
}

void GetFolderLocationStatement(StatementContext& statement, const SystemInfoServices& services)
{
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::int32_t number = TextToInt32(ExpandedParam(statement, 2));
    const bool allUsers = TextToBool(ExpandedParam(statement, 3));
    if (const std::optional<std::string> folder =
            FolderLocation(number, allUsers, services, statement.Engine().TargetPlatform))
        result.Assign(*folder);
}

void CheckDiskSpaceStatement(StatementContext& statement, const SystemInfoServices& services)
{
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::string path = NormalizedParam(statement, 2);
    const bool freeBytes = TextToBool(ExpandedParam(statement, 3));
    const std::optional<DiskSpace> space = services.machine->GetDiskSpace(path);
    if (!space)
        result.Assign("0");
    else
        result.Assign(std::to_string(freeBytes ? space->freeToCaller : space->total));
}

// Every statement of this family reaches the target platform's half of the system.
template <typename Body>
StatementHandler OnTargetPlatform(const SystemInfoServices& services, Body body)
{
    return [services, body](StatementContext& statement) {
        const std::string& platform = statement.Engine().TargetPlatform;
        const TargetRegistryViewScope view(*services.wow64, statement.Engine());
        const FsRedirectionScope redirection(*services.wow64, platform);
        SystemInfoServices inView = services;
        inView.registryView = statement.Engine().RegistryViewFlag;
        body(statement, inView);
    };
}

}  // namespace

std::string GetFolderPath(int csidl, const SystemInfoServices& services)
{
    std::string path;
    if (csidl == kCsidlProgramFiles || csidl == kCsidlProgramFilesCommon) {
        path = ReadRegistryText(*services.registry, kLocalMachine, kCurrentVersionKey,
                                csidl == kCsidlProgramFiles ? "ProgramFilesDir" : "CommonFilesDir",
                                services.registryView);
    } else {
        path = services.machine->ShellFolder(csidl);
    }
    if (path.empty())
        path = services.machine->ShellFolderFallback(csidl);
    return WithBackslash(path);
}

std::string GetFirstCdromDrive(IMachineQueries& machine)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (machine.DriveType(letter) == kDriveCdrom)
            return std::string(1, letter) + ":\\";
    }
    return {};
}

std::optional<std::string> FolderLocation(int number, bool allUsers,
                                          const SystemInfoServices& services,
                                          const std::string& targetPlatform)
{
    if (number < 0 || number >= static_cast<int>(std::size(kFolders)))
        return std::nullopt;
    const FolderEntry& entry = kFolders[number];
    return WithBackslash(
        RuleFolder(allUsers ? entry.allUsers : entry.perUser, services, targetPlatform));
}

void RegisterSystemInfoStatements(StatementHandlerTable& table, const SystemInfoServices& services)
{
    table.Register("Get System Settings", OnTargetPlatform(services, GetSystemSettingsStatement));
    table.Register("Get OS or SP Level", OnTargetPlatform(services, GetOsOrSpLevelStatement));
    table.Register("Get Folder Location", OnTargetPlatform(services, GetFolderLocationStatement));
    table.Register("Check Disk Space", OnTargetPlatform(services, CheckDiskSpaceStatement));
}

}  // namespace setup::engine
