// The system-information statements over the real facts of the machine (Wine under test).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/unique_handle.h"

#include "setup/engine/statements/hypervisor_probe_win32.h"
#include "setup/engine/statements/machine_queries_win32.h"
#include "setup/engine/statements/system_facts_win32.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

class RealSystemInfoTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        RegisterSystemInfoStatements(handlers, Win32SystemInfoServices());
    }
    std::string Answer(const std::string& line)
    {
        ClearVariables();
        Run({line});
        return GetVariable("R");
    }
    std::string Folder(int number, bool allUsers)
    {
        return Answer("Get Folder Location|R|" + std::to_string(number) + "|" +
                      (allUsers ? "TRUE" : "FALSE"));
    }
};

std::string RegistryText(const char* valueName)
{
    char buffer[MAX_PATH + 1] = {};
    DWORD size = sizeof(buffer);
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                       valueName, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return {};
    return buffer;
}

bool InAdministratorsGroup()
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                    0, 0, 0, 0, 0, &administrators))
        return false;
    BOOL member = FALSE;
    const BOOL checked = ::CheckTokenMembership(nullptr, administrators, &member);
    ::FreeSid(administrators);
    return checked && member;
}

// HasAdminRights, and with it the interpreter's ALLUSERS default, rests on this answer; Wine's
// token holds the group enabled.
TEST(Win32SystemFacts, AdministratorAsTheTokenHoldsIt)
{
    EXPECT_EQ(IsAdministrator(ProcessSystemFacts()), InAdministratorsGroup());
}

TEST_F(RealSystemInfoTest, FactsOfTheRunningWindows)
{
    ISystemFacts& facts = ProcessSystemFacts();
    const OsVersionInfo version = GetOsVersionInfo(facts);
    EXPECT_TRUE(version.nt);
    EXPECT_GE(version.major, 6u);
    EXPECT_EQ(Answer("Get System Settings|R|18"), "TRUE");
    EXPECT_EQ(Answer("Get System Settings|R|24"), "TRUE");
    EXPECT_EQ(Answer("Get System Settings|R|17"), "FALSE");
    EXPECT_EQ(Answer("Get System Settings|R|65"), "FALSE");  // a 64-bit process is not WOW64
    EXPECT_EQ(Answer("Get System Settings|R|75"), "AMD64");
    EXPECT_EQ(Answer("Get System Settings|R|63"), GroupWord(facts));
    EXPECT_EQ(Answer("Get System Settings|R|77"), facts.IsProcessElevated() ? "TRUE" : "FALSE");
    EXPECT_EQ(Answer("Get System Settings|R|1"), "TRUE");
    EXPECT_EQ(Answer("Get OS or SP Level|R|FALSE"), std::to_string(version.servicePack));

    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof(computer);
    ASSERT_TRUE(::GetComputerNameA(computer, &length));
    EXPECT_EQ(Answer("Get System Settings|R|61"), computer);
    EXPECT_FALSE(Answer("Get System Settings|R|60").empty());

    const ScreenFacts screen = facts.Screen();
    EXPECT_GT(screen.width, 0);
    EXPECT_GT(screen.bitsPerPixel, 0);
    // The language answers are a number and a name, or both empty when no resource is there.
    const std::string id = Answer("Get System Settings|R|33");
    const std::string name = Answer("Get System Settings|R|34");
    EXPECT_EQ(id.empty(), name.empty()) << id << " " << name;
}

// A machine value of another type than text, put back as it was afterwards.
class OddMachineValue
{
public:
    OddMachineValue(const char* keyPath, const char* valueName)
        : m_keyPath(keyPath), m_valueName(valueName)
    {
        EXPECT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, m_key.Put(), nullptr),
                  ERROR_SUCCESS);
        DWORD size = 0;
        if (::RegQueryValueExA(m_key.Get(), valueName, nullptr, &m_type, nullptr, &size) ==
            ERROR_SUCCESS) {
            m_saved.resize(size);
            ::RegQueryValueExA(m_key.Get(), valueName, nullptr, &m_type, m_saved.data(), &size);
            m_existed = true;
        }
        const DWORD odd = 7;
        ::RegSetValueExA(m_key.Get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&odd),
                         sizeof(odd));
    }
    ~OddMachineValue()
    {
        if (m_existed)
            ::RegSetValueExA(m_key.Get(), m_valueName, 0, m_type, m_saved.data(),
                             static_cast<DWORD>(m_saved.size()));
        else
            ::RegDeleteValueA(m_key.Get(), m_valueName);
    }

private:
    const char* m_keyPath;
    const char* m_valueName;
    core::UniqueKey m_key;
    DWORD m_type = REG_NONE;
    std::vector<BYTE> m_saved;
    bool m_existed = false;
};

TEST_F(RealSystemInfoTest, OrganisationAndBootFolderOfAnotherTypeReadEmpty)
{
    {
        const OddMachineValue organisation("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                           "RegisteredOrganization");
        EXPECT_EQ(Answer("Get System Settings|R|36"), "");
    }
    {
        const OddMachineValue boot("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup",
                                   "BootDir");
        EXPECT_EQ(Folder(9, false), "");
    }
}

TEST(HypervisorProbe, RunForRealWithoutDisturbingLaterFaults)
{
    // The back-door instruction faults on every real processor.
    EXPECT_FALSE(IsVirtualPc());
    const bool vmware = IsVmware();
    EXPECT_EQ(IsVmware(), vmware);
    EXPECT_FALSE(IsVirtualPc());
}

TEST_F(RealSystemInfoTest, FolderTable)
{
    char windows[MAX_PATH + 1] = {};
    char system[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryA(windows, sizeof(windows));
    ::GetSystemDirectoryA(system, sizeof(system));
    EXPECT_EQ(Folder(25, false), std::string(windows) + "\\");
    EXPECT_EQ(Folder(23, true), std::string(system) + "\\");
    EXPECT_EQ(Folder(20, false), RegistryText("ProgramFilesDir") + "\\");
    EXPECT_EQ(Folder(20, true), RegistryText("CommonFilesDir") + "\\");
    for (int number = 0; number <= 27; ++number) {
        for (const bool allUsers : {false, true}) {
            const std::string folder = Folder(number, allUsers);
            if (!folder.empty()) {
                EXPECT_EQ(folder.back(), '\\') << number;
            }
            EXPECT_EQ(folder.find("\\\\"), std::string::npos) << folder;
        }
    }
    for (const int number : {2, 12, 14, 15, 17}) {
        for (const bool allUsers : {false, true}) {
            const std::string folder = Folder(number, allUsers);
            EXPECT_FALSE(folder.empty()) << number << " " << allUsers;
        }
        EXPECT_NE(Folder(number, false), Folder(number, true)) << number;
    }
    const std::string cdrom = Folder(10, false);
    if (!cdrom.empty()) {
        EXPECT_EQ(cdrom.size(), 3u);
        EXPECT_EQ(::GetDriveTypeA(cdrom.c_str()), static_cast<UINT>(DRIVE_CDROM));
    }
}

TEST_F(RealSystemInfoTest, DiskSpaceOfTheSystemDriveAndOfAMissingOne)
{
    const std::string total = Answer("Check Disk Space|R|C:\\|FALSE");
    const std::string free = Answer("Check Disk Space|R|C:\\|TRUE");
    EXPECT_GT(std::stoull(total), 0u);
    EXPECT_LE(std::stoull(free), std::stoull(total));
    char missing = 0;
    for (char letter = 'Z'; letter > 'C' && missing == 0; --letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (::GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR)
            missing = letter;
    }
    ASSERT_NE(missing, 0);
    EXPECT_EQ(Answer(std::string("Check Disk Space|R|") + missing + ":\\data|TRUE"), "0");
}

}  // namespace
}  // namespace setup::engine::testing
