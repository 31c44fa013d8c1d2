#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/testing/statements_test_support.h"
#include "setup/engine/testing/system_info_fakes.h"
#include "setup/sysconfig/security/acl.h"
#include "setup/sysconfig/security/statement_access_control.h"
#include "setup/sysconfig/security/tests/fake_security_api.h"

namespace setup::sysconfig::security {
namespace {

using testing::FakeSecurityApi;
using testing::MakeAclBytes;
using testing::WidenLatin1;

// One ACE as the test reads it back: SID text, mask, flags.
struct Entry
{
    std::string sid;
    std::uint32_t mask;
    std::uint8_t flags;
    bool operator==(const Entry&) const = default;
};

std::vector<Entry> Entries(const AclBytes& acl)
{
    std::vector<Entry> entries;
    std::size_t at = 8;
    for (int i = 0; i < acl[4]; ++i) {
        const std::size_t size = acl[at + 2] | (acl[at + 3] << 8);
        const std::uint32_t mask = acl[at + 4] | (acl[at + 5] << 8) | (acl[at + 6] << 16) |
                                   (std::uint32_t{acl[at + 7]} << 24);
        entries.push_back(
            {SidToString(std::span(acl).subspan(at + 8, size - 8)), mask, acl[at + 1]});
        at += size;
    }
    return entries;
}

class SetAccessControlTest : public engine::testing::StatementTest
{
protected:
    void SetUp() override
    {
        api.AddAccount("Everyone", "S-1-1-0", 5);
        api.AddAccount("Users", "S-1-5-32-545", 4);
        api.AddAccount("Authenticated Users", "S-1-5-11", 5);
        api.AddAccount("me", "S-1-5-21-7-7-7-1000", 1);
        api.objects[L"C:\\data"].dacl =
            MakeAclBytes({{0, 3, kFileReadMask, "S-1-1-0"}, {0, 3, kFileReadMask, "S-1-5-32-545"}});
        RegisterAccessControlStatement(handlers, {&api, &wow64, &WidenLatin1});
    }
    // p1 to p16 after the command name.
    void RunStatement(const std::vector<std::string>& params)
    {
        std::string line = "Set Access Control";
        for (const std::string& param : params)
            line += "|" + param;
        Run({line});
    }

    FakeSecurityApi api;
    engine::testing::FakeWow64Switch wow64;
};

TEST_F(SetAccessControlTest, GrantsReplaceTheAccountsEntries)
{
    const std::string T = "TRUE";
    const std::string F = "FALSE";
    struct Case
    {
        const char* name;
        std::vector<std::string> params;  // p2 to p16
        std::vector<Entry> expected;
    };
    const Case cases[] = {
        {"everyone full",
         {T, F, F, F, "", F, T, T, F, F, T, F, F, F, F},
         {{"S-1-5-32-545", kFileReadMask, 3}, {"S-1-1-0", kFileFullMask, 3}}},
        {"read and full: full wins",
         {T, F, F, F, "", T, T, T, F, F, T, F, F, F, F},
         {{"S-1-5-32-545", kFileReadMask, 3}, {"S-1-1-0", kFileFullMask, 3}}},
        {"current user and authenticated users read",
         {F, T, T, F, "", T, F, T, F, F, T, F, F, F, F},
         {{"S-1-1-0", kFileReadMask, 3},
          {"S-1-5-32-545", kFileReadMask, 3},
          {"S-1-5-21-7-7-7-1000", kFileReadMask, 3},
          {"S-1-5-11", kFileReadMask, 3}}},
        {"named account from a variable",
         {F, F, F, T, "$WHO$", F, T, T, F, F, T, F, F, F, F},
         {{"S-1-1-0", kFileReadMask, 3}, {"S-1-5-32-545", kFileFullMask, 3}}},
        {"named by SID text",
         {F, F, F, T, "S-1-5-32-545", T, F, T, F, F, T, F, F, F, F},
         {{"S-1-1-0", kFileReadMask, 3}, {"S-1-5-32-545", kFileReadMask, 3}}},
        {"unknown account changes nothing",
         {F, F, F, T, "nobody", F, T, T, F, F, T, F, F, F, F},
         {{"S-1-1-0", kFileReadMask, 3}, {"S-1-5-32-545", kFileReadMask, 3}}},
        {"printer masks",
         {F, F, F, T, "Users", F, T, T, F, F, F, F, F, F, T},
         {{"S-1-1-0", kFileReadMask, 3},
          {"S-1-5-32-545", kPrinterAdministerMask, 0},
          {"S-1-5-32-545", kPrinterJobsMask, kObjectInheritOnly}}},
        {"reset: empty list", {F, F, F, F, "", F, F, F, T, F, T, F, F, F, F}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        engine.Variables.Set("WHO", "Users", "");
        std::vector<std::string> params{"C:\\\\data"};  // doubled backslashes collapse
        params.insert(params.end(), c.params.begin(), c.params.end());
        RunStatement(params);
        const std::optional<AclBytes>& dacl = api.objects[L"C:\\data"].dacl;
        ASSERT_TRUE(dacl.has_value());
        EXPECT_EQ(Entries(*dacl), c.expected);
        EXPECT_EQ(wow64.disabled, 0);
    }
}

TEST_F(SetAccessControlTest, ResetWithoutEmptyListRemovesIt)
{
    RunStatement({"C:\\data", "", "", "", "", "", "", "", "FALSE", "FALSE", "TRUE", "TRUE"});
    EXPECT_FALSE(api.objects[L"C:\\data"].dacl.has_value());
    // Present, absent, then present and cleared and flushed again for the empty-list reset.
    api.writes.clear();
    RunStatement({"C:\\data", "", "", "", "", "", "", "", "FALSE", "TRUE", "", "TRUE"});
    ASSERT_EQ(api.writes.size(), 4u);
    EXPECT_TRUE(api.writes[0].parts.dacl.has_value());
    EXPECT_FALSE(api.writes[1].parts.dacl.has_value());
    EXPECT_TRUE(api.objects[L"C:\\data"].dacl.has_value());
    EXPECT_EQ((*api.objects[L"C:\\data"].dacl)[4], 0);
}

TEST_F(SetAccessControlTest, TheLastKindFlagChoosesTheObject)
{
    RunStatement({"HKLM\\Software\\Probe", "TRUE", "", "", "", "", "", "TRUE", "TRUE", "", "",
                  "TRUE", "", "TRUE"});
    ASSERT_FALSE(api.writes.empty());
    EXPECT_EQ(api.writes.back().target.kind, 4);
    EXPECT_EQ(api.writes.back().target.name, L"MACHINE\\Software\\Probe");

    api.writes.clear();
    api.reads = 0;
    RunStatement({"C:\\data", "TRUE", "", "", "", "", "", "TRUE", "TRUE"});
    EXPECT_EQ(api.reads, 0);  // no kind: nothing to work on
    EXPECT_TRUE(api.writes.empty());
}

}  // namespace
}  // namespace setup::sysconfig::security
