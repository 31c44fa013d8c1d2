#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/sysconfig/security/acl.h"
#include "setup/sysconfig/security/security_object.h"
#include "setup/sysconfig/security/tests/fake_security_api.h"

namespace setup::sysconfig::security {
namespace {

using testing::FakeSecurityApi;
using testing::MakeAclBytes;

class AclTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        api.AddAccount("Everyone", "S-1-1-0", 5);
        api.AddAccount("Users", "S-1-5-32-545", 4);
        api.AddAccount("Administrators", "S-1-5-32-544", 4);
    }
    // An account whose SID is S-1-5-21-1-<n>.
    Ref<Account> Numbered(int n)
    {
        return AccountBySid(context, *StringToSid("S-1-5-21-1-" + std::to_string(n)));
    }
    bool InsideBuffer(Acl& acl, Ace& ace)
    {
        const std::uint8_t* start = acl.RawAcl();
        return ace.RawAce() >= start + kAclHeaderSize &&
               ace.RawAce() + ace.AceSize() <= start + acl.UsedSize();
    }

    FakeSecurityApi api;
    SecurityContext context{api};
};

TEST_F(AclTest, GrantThenRegrantLeavesOneEntryAtTheEnd)
{
    const Ref<Acl> acl = MakeRef<Acl>(context);
    const Ref<Account> everyone = EveryoneAccount(context);
    const Ref<Account> users = AccountByName(context, "Users");
    ASSERT_TRUE(acl->GrantFileRights(everyone.Get(), false));
    ASSERT_TRUE(acl->GrantFileRights(users.Get(), true));
    ASSERT_TRUE(acl->GrantFileRights(everyone.Get(), true));
    ASSERT_EQ(acl->Count(), 2);
    const Ref<Ace> last = acl->Aces(1);
    EXPECT_TRUE(last->GetAccount()->IsEqual(everyone.Get()));
    EXPECT_EQ(last->Access(), kFileFullMask);
    EXPECT_EQ(last->AceFlags(), 3);
    EXPECT_EQ(last->AceType(), 0);
    EXPECT_TRUE(acl->Aces(0)->GetAccount()->IsEqual(users.Get()));
    EXPECT_TRUE(acl->CheckValid());
    EXPECT_TRUE(acl->IsModified());

    EXPECT_TRUE(acl->DeleteAccountAces(everyone.Get()));
    EXPECT_EQ(acl->Count(), 1);
    EXPECT_FALSE(acl->DeleteAccountAces(everyone.Get()));
    EXPECT_EQ(acl->ErrorCode(), kErrorFileNotFound);
}

TEST_F(AclTest, PrinterGrantsTwoEntriesForFullAccess)
{
    const Ref<Acl> acl = MakeRef<Acl>(context);
    const Ref<Account> users = AccountByName(context, "Users");
    ASSERT_TRUE(acl->GrantPrinterRights(users.Get(), false));
    ASSERT_TRUE(acl->GrantPrinterRights(users.Get(), true));
    ASSERT_EQ(acl->Count(), 2);
    EXPECT_EQ(acl->Aces(0)->Access(), kPrinterAdministerMask);
    EXPECT_EQ(acl->Aces(0)->AceFlags(), 0);
    EXPECT_EQ(acl->Aces(1)->Access(), kPrinterJobsMask);
    EXPECT_EQ(acl->Aces(1)->AceFlags(), kObjectInheritOnly);
}

TEST_F(AclTest, UnknownAccountAddsNothing)
{
    const Ref<Acl> acl = MakeRef<Acl>(context);
    const Ref<Account> nobody = AccountByName(context, "nobody here");
    EXPECT_FALSE(nobody->IsValid());
    EXPECT_EQ(nobody->ErrorCode(), kErrorNoneMapped);
    EXPECT_EQ(nobody->Name(), "nobody here");
    EXPECT_EQ(acl->AddNewAce(nobody, kFileReadMask, 0, 3), -1);
    EXPECT_EQ(acl->ErrorCode(), kErrorInvalidParameter);
    EXPECT_FALSE(acl->GrantFileRights(nobody.Get(), true));
    EXPECT_EQ(acl->Count(), 0);
}

TEST_F(AclTest, EntriesFollowTheBufferAsItGrowsAndShrinks)
{
    const Ref<Acl> acl = MakeRef<Acl>(context);
    std::vector<Ref<Ace>> held;
    for (int n = 0; n < 40; ++n) {
        ASSERT_EQ(acl->AddNewAce(Numbered(n), 0x10000u + n, 0, 0), n);
        held.push_back(acl->Aces(n));
        for (Ref<Ace>& ace : held)
            ASSERT_TRUE(InsideBuffer(*acl, *ace));
    }
    const std::uint16_t grown = acl->AclSize();
    EXPECT_GE(grown, acl->UsedSize());
    EXPECT_EQ(grown % 4, 0);
    held.clear();
    for (int n = 39; n >= 2; --n)
        ASSERT_TRUE(acl->DeleteAce(n));
    const Ref<Ace> kept = acl->Aces(1);
    ASSERT_EQ(acl->AddNewAce(Numbered(99), 0x20000, 0, 0), 2);  // this addition shrinks the list
    EXPECT_LT(acl->AclSize(), grown);
    EXPECT_LE(acl->AclSize(), 4u * acl->UsedSize());
    EXPECT_TRUE(InsideBuffer(*acl, *kept));
    EXPECT_EQ(kept->Access(), 0x10001u);
    // Insert at the front moves every entry up; held entries still read their own bytes.
    ASSERT_EQ(acl->InsertAce(*NewAce(context, Numbered(50), 0x30000, 1, 0), 0), 0);
    EXPECT_EQ(acl->InsertAce(*NewAce(context, Numbered(51), 0x30001, 0, 0), 100), 4);
    EXPECT_EQ(kept->Access(), 0x10001u);
    EXPECT_EQ(acl->Aces(0)->AceType(), 1);
    EXPECT_EQ(acl->Aces(2), kept);
    EXPECT_TRUE(acl->CheckValid());
}

TEST_F(AclTest, DeletedEntryStaysReadableForItsHolder)
{
    const Ref<Acl> acl = MakeRef<Acl>(context);
    acl->AddNewAce(AccountByName(context, "Users"), kFileReadMask, 0, 3);
    acl->AddNewAce(AccountByName(context, "Administrators"), kFileFullMask, 0, 3);
    const Ref<Ace> first = acl->Aces(0);
    ASSERT_TRUE(acl->DeleteAce(0));
    acl->AddNewAce(Numbered(1), 1, 0, 0);  // reuses the bytes the entry had
    EXPECT_EQ(first->Access(), kFileReadMask);
    EXPECT_EQ(first->GetAccount()->Name(), "Users");
    EXPECT_EQ(first->OwnerAcl()->ErrorCode(), kErrorAceWithoutOwner);
    EXPECT_EQ(acl->Aces(0)->Access(), kFileFullMask);
    EXPECT_FALSE(acl->DeleteAce(5));
    EXPECT_EQ(acl->ErrorCode(), kErrorInvalidIndex);
    EXPECT_EQ(acl->Aces(-1)->ErrorCode(), kErrorIndexOutOfRange);
}

TEST_F(AclTest, SizeStaysWithinWhatTheHeaderCanState)
{
    const Ref<Acl> acl = MakeRef<Acl>(context);
    // Entries of 48 bytes (a SID with 8 sub-authorities): 1365 of them fit in 65532 bytes.
    int added = 0;
    for (std::uint32_t n = 0; n < 1400; ++n) {
        const Ref<Account> account =
            AccountBySid(context, *StringToSid("S-1-5-1-2-3-4-5-6-7-" + std::to_string(n)));
        if (acl->AddNewAce(account, 1, 0, 0) < 0)
            break;
        ++added;
        ASSERT_LE(acl->UsedSize(), acl->AclSize());
        ASSERT_EQ(acl->AclSize() % 4, 0);
    }
    EXPECT_EQ(added, (65532 - 8) / 48);
    EXPECT_EQ(acl->ErrorCode(), kErrorAllottedSpaceExceeded);
    EXPECT_EQ(acl->AclSize(), kMaxAclSize);
    EXPECT_EQ(acl->Count(), added);
    EXPECT_TRUE(acl->CheckValid());
}

TEST_F(AclTest, PresenceChangesMarkTheListModified)
{
    const Ref<Acl> acl = MakeRef<Acl>(context);
    EXPECT_FALSE(acl->IsPresent());
    EXPECT_EQ(acl->RawAcl(), nullptr);
    ASSERT_TRUE(acl->MakePresent());
    EXPECT_TRUE(acl->IsModified());
    EXPECT_EQ(acl->AclSize(), 8);
    EXPECT_EQ(acl->RawAcl()[4], 0);
    acl->Flush();  // without an owner: nothing written, changes dropped
    EXPECT_FALSE(acl->IsModified());
    acl->MakePresent();
    EXPECT_FALSE(acl->IsModified());
    acl->AddNewAce(EveryoneAccount(context), 1, 0, 0);
    acl->Clear();
    EXPECT_TRUE(acl->IsPresent());
    EXPECT_EQ(acl->Count(), 0);
    acl->MakeAbsent();
    EXPECT_FALSE(acl->IsPresent());
    EXPECT_EQ(acl->AclSize(), 0);
}

TEST_F(AclTest, ObjectEntryFieldsStayInsideTheEntry)
{
    // An object entry (type 5) with both GUIDs, then a truncated one that claims them.
    AclBytes bytes = MakeAclBytes({});
    const Sid sid = *StringToSid("S-1-1-0");
    std::vector<std::uint8_t> ace = {5, 0, 0, 0, 0x10, 0, 0, 0, 3, 0, 0, 0};
    for (int i = 0; i < 32; ++i)
        ace.push_back(static_cast<std::uint8_t>(i));
    ace.insert(ace.end(), sid.begin(), sid.end());
    ace[2] = static_cast<std::uint8_t>(ace.size());
    std::vector<std::uint8_t> truncated = {5, 0, 16, 0, 0, 0, 0, 0, 3, 0, 0, 0, 9, 9, 9, 9};
    bytes.insert(bytes.end(), ace.begin(), ace.end());
    bytes.insert(bytes.end(), truncated.begin(), truncated.end());
    bytes[2] = static_cast<std::uint8_t>(bytes.size());
    bytes[4] = 2;
    const Ref<Acl> acl = MakeRef<Acl>(context, nullptr, std::optional<AclBytes>(bytes));
    ASSERT_EQ(acl->Count(), 2);
    const Ref<Ace> full = acl->Aces(0);
    EXPECT_TRUE(full->IsObjectAce());
    EXPECT_EQ(full->ObjectFlags(), 3u);
    EXPECT_EQ(full->ObjectType()[15], 15);
    EXPECT_EQ(full->InheritedObjectType()[0], 16);
    EXPECT_EQ(full->GetAccount()->SidString(), "S-1-1-0");
    EXPECT_FALSE(full->SetAceType(0));
    EXPECT_EQ(full->ErrorCode(), kErrorAceKindChange);
    EXPECT_FALSE(full->SetObjectFlags(1));  // would drop a GUID and move the SID
    EXPECT_EQ(full->ErrorCode(), kErrorInvalidParameter);
    EXPECT_FALSE(acl->IsModified());
    Guid type{};
    type.fill(0xAB);
    ASSERT_TRUE(full->SetObjectType(type));
    EXPECT_EQ(full->ObjectType(), type);
    EXPECT_EQ(full->InheritedObjectType()[0], 16);
    EXPECT_EQ(full->GetAccount()->SidString(), "S-1-1-0");
    EXPECT_TRUE(acl->IsModified());
    const Ref<Ace> cut = acl->Aces(1);
    EXPECT_FALSE(cut->SetObjectType(type));
    EXPECT_EQ(cut->ObjectType(), Guid{});
    EXPECT_EQ(cut->InheritedObjectType(), Guid{});
    EXPECT_FALSE(cut->GetAccount()->IsValid());
    EXPECT_THROW(NewAce(context, EveryoneAccount(context), 1, 5, 0), std::invalid_argument);
}

TEST_F(AclTest, EntriesRunningPastTheListMakeItInvalid)
{
    AclBytes bytes = MakeAclBytes({{0, 0, 1, "S-1-1-0"}});
    bytes[4] = 3;  // claims more entries than it holds
    const Ref<Acl> acl = MakeRef<Acl>(context, nullptr, std::optional<AclBytes>(bytes));
    EXPECT_FALSE(acl->IsValid());
    EXPECT_EQ(acl->Count(), 1);
}

TEST(AccountCache, ReturnsOneObjectUntilFlushed)
{
    FakeSecurityApi api;
    api.AddAccount("Users", "S-1-5-32-545", 4);
    SecurityContext context(api);
    const Ref<Account> first = AccountByName(context, "Users");
    EXPECT_EQ(AccountByName(context, "Users"), first);
    EXPECT_EQ(AccountBySid(context, *StringToSid("S-1-5-32-545")), first);
    context.FlushAccountCache();
    const Ref<Account> second = AccountByName(context, "Users");
    EXPECT_NE(second, first);
    EXPECT_TRUE(second->IsEqual(first.Get()));
    const Ref<Account> bySid = AccountByName(context, "S-1-5-32-544");
    EXPECT_EQ(bySid->SidString(), "S-1-5-32-544");
    EXPECT_EQ(api.nameLookups, 2);  // the SID text needs no lookup
}

}  // namespace
}  // namespace setup::sysconfig::security
