// Real round trips through Windows' security services: Wine keeps descriptors of registry keys
// and kernel objects, and resolves the well-known accounts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/text_convert.h"
#include "setup/engine/testing/interpreter_test_support.h"
#include "setup/sysconfig/security/os_record_win32.h"
#include "setup/sysconfig/security/security_api_win32.h"
#include "setup/sysconfig/security/security_object.h"

namespace setup::sysconfig::security {
namespace {

// A scratch key under HKEY_CURRENT_USER, deleted with everything below it afterwards.
class ScratchKey
{
public:
    ScratchKey()
        : m_path("Software\\VontarSecurityTest" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(GetTickCount()))
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        RegCloseKey(key);
    }
    ~ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str()); }
    const std::string& Path() const { return m_path; }
    std::wstring SecurityName() const { return core::AnsiToWide("HKCU\\" + m_path); }

private:
    std::string m_path;
};

class SecurityWin32Test : public ::testing::Test
{
protected:
    Win32SecurityApi api;
    SecurityContext context{api};
};

TEST_F(SecurityWin32Test, WellKnownAccountsResolve)
{
    EXPECT_EQ(EveryoneAccount(context)->Name(), "Everyone");
    const Ref<Account> admins = AccountByName(context, "S-1-5-32-544");
    EXPECT_EQ(admins->SidString(), "S-1-5-32-544");
    EXPECT_FALSE(admins->Name().empty());
    const Ref<Account> everyone = AccountByName(context, "Everyone");
    EXPECT_EQ(everyone->SidString(), "S-1-1-0");
    EXPECT_TRUE(everyone->IsEqual(EveryoneAccount(context).Get()));
    EXPECT_FALSE(AuthenticatedUsersAccount(context)->Name().empty());
    const Ref<Account> me = CurrentUserAccount(context);
    EXPECT_TRUE(me->IsValid());
    EXPECT_FALSE(me->Name().empty());
    const Ref<Account> nobody = AccountByName(context, "no-such-account-here");
    EXPECT_FALSE(nobody->IsValid());
    EXPECT_EQ(nobody->ErrorCode(), kErrorNoneMapped);
}

TEST_F(SecurityWin32Test, RegistryKeyDaclRoundTrips)
{
    const ScratchKey key;
    {
        const Ref<SecurityObject> object = RegistrySecurityObject(context, key.SecurityName());
        const Ref<Acl> dacl = object->Dacl();
        ASSERT_TRUE(dacl->IsValid()) << dacl->ErrorCode();
        dacl->Clear();
        ASSERT_TRUE(dacl->GrantFileRights(EveryoneAccount(context).Get(), false));
        ASSERT_TRUE(dacl->GrantFileRights(CurrentUserAccount(context).Get(), true));
        ASSERT_TRUE(dacl->Flush()) << dacl->ErrorCode();
    }
    SecurityContext fresh(api);
    const Ref<SecurityObject> object = RegistrySecurityObject(fresh, key.SecurityName());
    const Ref<Acl> dacl = object->Dacl();
    ASSERT_EQ(dacl->Count(), 2);
    EXPECT_EQ(dacl->Aces(0)->GetAccount()->SidString(), "S-1-1-0");
    EXPECT_EQ(dacl->Aces(0)->Access(), kFileReadMask);
    EXPECT_EQ(dacl->Aces(1)->Access(), kFileFullMask);
    EXPECT_EQ(dacl->Aces(1)->AceFlags(), kObjectAndContainerInherit);

    dacl->MakeAbsent();
    ASSERT_TRUE(dacl->Flush());
    SecurityContext again(api);
    EXPECT_FALSE(RegistrySecurityObject(again, key.SecurityName())->Dacl()->IsPresent());
}

TEST_F(SecurityWin32Test, EventObjectDaclRoundTrips)
{
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    const auto handle = reinterpret_cast<std::uintptr_t>(event);
    {
        const Ref<SecurityObject> object = KernelSecurityObject(context, handle);
        const Ref<Acl> dacl = object->Dacl();
        ASSERT_TRUE(dacl->IsValid()) << object->ErrorCode();
        dacl->Clear();
        dacl->AddNewAce(EveryoneAccount(context), 0x1F0003, 0, 0);
    }  // written when released
    SecurityContext fresh(api);
    const Ref<Acl> dacl = KernelSecurityObject(fresh, handle)->Dacl();
    ASSERT_EQ(dacl->Count(), 1);
    EXPECT_EQ(dacl->Aces(0)->Access(), 0x1F0003u);
    EXPECT_EQ(dacl->Aces(0)->GetAccount()->SidString(), "S-1-1-0");
    CloseHandle(event);
}

TEST(CurrentOs, DescribesTheRunningWindows)
{
    const OsRecord os = CurrentOs();
    EXPECT_TRUE(os.isNt);
    EXPECT_GE(os.major, 5u);
    EXPECT_FALSE(os.description.empty());
}

class SetAccessControlScriptTest : public engine::testing::InterpreterTest
{
};

TEST_F(SetAccessControlScriptTest, ScriptGrantsEveryoneFullAccessOnAKey)
{
    const ScratchKey key;
    Run({"Set Variable|KEYPATH|HKCU\\" + key.Path(),
         "Set Access Control|$KEYPATH$|TRUE||||||TRUE|TRUE|||||TRUE"});
    Win32SecurityApi api;
    SecurityContext context(api);
    const Ref<Acl> dacl = RegistrySecurityObject(context, key.SecurityName())->Dacl();
    int everyoneEntries = 0;
    for (int i = 0; i < dacl->Count(); ++i) {
        const Ref<Ace> ace = dacl->Aces(i);
        if (ace->GetAccount()->SidString() != "S-1-1-0")
            continue;
        ++everyoneEntries;
        EXPECT_EQ(ace->Access(), kFileFullMask);
        EXPECT_EQ(i, dacl->Count() - 1);
    }
    EXPECT_EQ(everyoneEntries, 1);
}

}  // namespace
}  // namespace setup::sysconfig::security
