#include <gtest/gtest.h>

#include <string>

#include "setup/sysconfig/security/security_object.h"
#include "setup/sysconfig/security/tests/fake_security_api.h"

namespace setup::sysconfig::security {
namespace {

using testing::FakeSecurityApi;
using testing::MakeAclBytes;

TEST(NormalizeRegistryRoot, MapsEveryRootSpelling)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* normalised;
    };
    const Case cases[] = {
        {L"HKLM", L"MACHINE"},
        {L"HKEY_LOCAL_MACHINE\\Software\\A", L"MACHINE\\Software\\A"},
        {L"local_machine\\x", L"MACHINE\\x"},
        {L"HKU\\.DEFAULT", L"USERS\\.DEFAULT"},
        {L"hkcu", L"CURRENT_USER"},
        {L"USER\\Software", L"CURRENT_USER\\Software"},
        {L"hkey_classes_root\\x", L"CLASSES_ROOT\\x"},
        {L"HKCR\\.txt", L"CLASSES_ROOT\\.txt"},
        {L"HKEY_CURRENT_CONFIG\\System", L"CONFIG\\System"},
        {L"Foo\\Bar", L"FOO\\Bar"},
        {L"f\u00e4o\u00e9\\x", L"F\u00c4O\u00e9\\x"},  // only the fixed umlauts are upper-cased
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeRegistryRoot(c.path), c.normalised) << c.path;
}

class SecurityObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        api.AddAccount("Everyone", "S-1-1-0", 5);
        api.AddAccount("Users", "S-1-5-32-545", 4);
        api.objects[L"C:\\data"].dacl = MakeAclBytes({{0, 3, kFileReadMask, "S-1-5-32-545"}});
        api.objects[L"C:\\data"].owner = *StringToSid("S-1-5-32-545");
    }
    FakeSecurityApi api;
    SecurityContext context{api};
};

TEST_F(SecurityObjectTest, ConstructionChecksKindNameAndHandle)
{
    struct Case
    {
        std::int32_t kind;
        const wchar_t* name;
        std::uintptr_t handle;
        bool valid;
    };
    const Case cases[] = {
        {kFileObject, L"C:\\data", 0, true},
        {0, L"C:\\data", 0, false},
        {kFileObject, L"", 0, false},
        {kKernelObject, L"", 0x44, true},
        {kKernelObject, L"", ~std::uintptr_t{0}, false},
        {kRegistryKeyObject, L"x", ~std::uintptr_t{0}, false},
    };
    for (const Case& c : cases) {
        const Ref<SecurityObject> object =
            MakeRef<SecurityObject>(context, true, 0, std::string(), c.kind, c.name, c.handle);
        EXPECT_EQ(object->IsValid(), c.valid) << c.kind << " " << c.handle;
        if (!c.valid) {
            EXPECT_EQ(object->ErrorCode(), kErrorInvalidParameter);
            EXPECT_EQ(object->Dacl()->ErrorCode(), kErrorObjectInvalid);
        }
    }
    EXPECT_EQ(api.reads, 0);
}

TEST_F(SecurityObjectTest, DaclIsCachedWhileHeldAndRebound)
{
    const Ref<SecurityObject> object = FileSecurityObject(context, L"C:\\data");
    Ref<Acl> first = object->Dacl();
    ASSERT_TRUE(first->IsValid());
    EXPECT_EQ(object->Dacl(), first);
    EXPECT_EQ(api.reads, 1);
    EXPECT_EQ(object->Owner()->Name(), "Users");

    const Ref<Acl> other = MakeRef<Acl>(context);
    other->GrantFileRights(EveryoneAccount(context).Get(), true);
    ASSERT_TRUE(object->SetDacl(*other));
    EXPECT_EQ(object->CachedDacl(), other.Get());
    EXPECT_EQ(other->OwnerSecurityObject(), object);
    EXPECT_NE(first->OwnerSecurityObject(), object);  // unbound: a placeholder owner now
    EXPECT_EQ(first->ErrorCode(), kErrorAclWithoutOwner);
    first.Reset();
    EXPECT_EQ(object->CachedDacl(), other.Get());
}

TEST_F(SecurityObjectTest, ModifiedListWritesItselfBackWhenReleased)
{
    const Ref<SecurityObject> object = FileSecurityObject(context, L"C:\\data");
    {
        const Ref<Acl> dacl = object->Dacl();
        dacl->GrantFileRights(EveryoneAccount(context).Get(), false);
    }
    ASSERT_EQ(api.writes.size(), 1u);
    EXPECT_EQ(api.writes[0].information, kDaclPart);
    EXPECT_EQ(object->CachedDacl(), nullptr);
    const Ref<Acl> reread = object->Dacl();
    ASSERT_EQ(reread->Count(), 2);
    EXPECT_EQ(reread->Aces(1)->GetAccount()->SidString(), "S-1-1-0");
}

TEST_F(SecurityObjectTest, FailedFlushDropsChangesAndCarriesTheError)
{
    const Ref<SecurityObject> object = FileSecurityObject(context, L"C:\\data");
    const Ref<Acl> dacl = object->Dacl();
    dacl->MakeAbsent();
    api.writeError = kErrorAccessDenied;
    EXPECT_FALSE(dacl->Flush());
    EXPECT_FALSE(dacl->IsModified());
    EXPECT_EQ(dacl->ErrorCode(), kErrorAccessDenied);
    EXPECT_TRUE(api.objects[L"C:\\data"].dacl.has_value());  // left as it was
    api.writeError = 0;
    EXPECT_TRUE(dacl->Flush());  // nothing pending
    EXPECT_EQ(api.writes.size(), 1u);
}

TEST_F(SecurityObjectTest, ProtectionWritesTheCurrentListAlong)
{
    const Ref<SecurityObject> object = FileSecurityObject(context, L"C:\\data");
    ASSERT_TRUE(object->SetDaclProtected(false));
    ASSERT_EQ(api.writes.size(), 1u);
    EXPECT_EQ(api.writes[0].information, kDaclPart | kUnprotectedDacl);
    EXPECT_EQ(api.writes[0].parts.dacl, api.objects[L"C:\\data"].dacl);
    ASSERT_TRUE(object->SetDaclProtected(true));
    EXPECT_TRUE(object->DaclProtected());

    api.readError = kErrorAccessDenied;  // the list cannot be read: the request is dropped
    object->SetDaclProtected(false);
    EXPECT_EQ(api.writes.back().information, 0u);
}

TEST_F(SecurityObjectTest, KernelObjectsAreAddressedByHandleOnly)
{
    const Ref<SecurityObject> named =
        MakeRef<SecurityObject>(context, true, 0, std::string(), kKernelObject, L"event", 0);
    EXPECT_TRUE(named->IsValid());
    EXPECT_FALSE(named->Dacl()->IsValid());
    EXPECT_EQ(named->ErrorCode(), kErrorInvalidParameter);
    EXPECT_EQ(api.reads, 0);
}

}  // namespace
}  // namespace setup::sysconfig::security
