#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/testing/statements_test_support.h"
#include "setup/engine/testing/system_info_fakes.h"
#include "setup/sysconfig/security/ansi_text.h"
#include "setup/sysconfig/security/share.h"
#include "setup/sysconfig/security/statements_shares.h"
#include "setup/sysconfig/security/tests/fake_security_api.h"

namespace setup::sysconfig::security {
namespace {

using testing::FakeSecurityApi;
using testing::MakeAclBytes;
using testing::WidenLatin1;

constexpr std::uint32_t kDuplicateShare = 2118;
constexpr std::uint32_t kUnknownFolder = 2116;
constexpr std::uint32_t kShareNotFound = 2310;

// A share server of the tests' own: shares by net name, folders that exist, printers, and every
// call in order.
class FakeShareServer : public IShareApi
{
public:
    std::uint32_t ShareAdd(const std::wstring& server, int level, const ShareRecord& share) override
    {
        calls.push_back(L"add " + share.netName + L" " + share.path + Server(server));
        if (shares.count(Key(share.netName)))
            return kDuplicateShare;
        if (level == 2 && share.type == 0 && !folders.count(share.path))
            return kUnknownFolder;
        shares[Key(share.netName)] = share;
        return 0;
    }
    std::uint32_t ShareDel(const std::wstring& server, const std::wstring& netName) override
    {
        calls.push_back(L"del " + netName + Server(server));
        return shares.erase(Key(netName)) ? 0 : kShareNotFound;
    }
    std::uint32_t ShareGetInfo(const std::wstring&, const std::wstring& netName, int level,
                               ShareRecord& share) override
    {
        const auto found = shares.find(Key(netName));
        if (found == shares.end())
            return kShareNotFound;
        if (level == 2 && onlyLevel1)
            return kErrorAccessDenied;
        share = found->second;
        if (level == 1)
            share = ShareRecord{share.netName, share.type, share.remark, 0, -1, 0, L"", L""};
        return 0;
    }
    std::uint32_t ShareSetInfo(const std::wstring&, const std::wstring& netName, int,
                               const ShareRecord& share) override
    {
        calls.push_back(L"set " + netName);
        const auto found = shares.find(Key(netName));
        if (found == shares.end())
            return kShareNotFound;
        found->second = share;
        return 0;
    }
    std::uint32_t SetPrinterShare(const std::wstring& printerName,
                                  const std::wstring& netName) override
    {
        calls.push_back(L"printer " + printerName + L" " + netName);
        if (!printers.count(printerName))
            return 1801;  // no such printer
        if (netName.empty())
            return shares.erase(Key(printerName)) ? 0 : 0;
        shares[Key(netName)] = ShareRecord{netName, 1, L"", 0, -1, 0, printerName, L""};
        return 0;
    }

    static std::wstring Key(const std::wstring& name) { return UpperCaseText(name); }
    static std::wstring Server(const std::wstring& server)
    {
        return server.empty() ? std::wstring() : L" @" + server;
    }

    std::map<std::wstring, ShareRecord> shares;
    std::set<std::wstring> folders{L"C:\\", L"C:\\DATA", L"D:\\OTHER"};
    std::set<std::wstring> printers{L"LaserJet"};
    bool onlyLevel1 = false;
    std::vector<std::wstring> calls;
};

TEST(ShareNames, CleaningAndNormalising)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* normalised;
    };
    const Case cases[] = {
        {L"a*b?c", L"a\u00d7b\u00bfc"},
        {L"x\"y+z,w:v;u/t|s<r=q>p[o]", L"x'y&z\u00b7w\u00b7v\u00b7u\u00a6t\u00a6s{r~q}p(o)"},
        {L"plain", L"plain"},
        {L"\\\\srv\\sh*are\\sub\\dir\\", L"\\\\srv\\sh\u00d7are\\sub\\dir"},
        {L"\\\\srv\\a?b", L"\\\\srv\\a\u00bfb"},
        {L"folder\\name*", L"folder\\name*"},  // a folder part not from a server: unchanged
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeShareName(c.name), c.normalised) << c.name;
    EXPECT_EQ(CleanShareName(L"a:b\\"), L"a\u00b7b\\");
}

class ShareTest : public ::testing::Test
{
protected:
    Ref<Share> Create(std::wstring_view path, std::wstring_view name, std::wstring server = {})
    {
        return NewShareObject(context, server_, path, name, L"remark", 0xFF, L"", -1,
                              std::move(server));
    }
    FakeShareServer server_;
    FakeSecurityApi security;
    SecurityContext context{security};
};

TEST_F(ShareTest, NewSharePathsAndKinds)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* sharedPath;  // nullptr: refused
        std::uint32_t type;
    };
    const Case cases[] = {
        {L"C:", L"C:\\", 0},
        {L"c:\\data\\", L"C:\\DATA", 0},
        {L"c:\\", L"C:\\", 0},
        {L"c:\\missing", nullptr, 0},
        {L"LaserJet,winspool", L"LaserJet", 1},
        {L"LaserJet,winspool,Ne00:", nullptr, 0},  // a colon names a folder
        {L"NoSuchPrinter", nullptr, 1},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::wstring name = L"S" + std::to_wstring(n++);
        const Ref<Share> share = Create(c.path, name);
        EXPECT_EQ(share->IsValid(), c.sharedPath != nullptr) << c.path;
        if (!c.sharedPath)
            continue;
        EXPECT_EQ(share->Path(), c.sharedPath) << c.path;
        EXPECT_EQ(share->ShareType(), c.type) << c.path;
        EXPECT_EQ(server_.shares.at(name).path, c.sharedPath);
        EXPECT_EQ(server_.shares.at(name).remark, L"remark");
    }
}

TEST_F(ShareTest, ReadingAtLevelOneHasNoUseCounts)
{
    server_.shares[L"DOCS"] = ShareRecord{L"docs", 0, L"r", 0xFF, 5, 2, L"C:\\DATA", L""};
    const Ref<Share> share = OpenShareObject(context, server_, L"docs", L"");
    EXPECT_EQ(share->MaxUses(), 5);
    EXPECT_EQ(share->CurrentUses(), 2u);
    server_.onlyLevel1 = true;
    EXPECT_FALSE(OpenShareObject(context, server_, L"docs", L"")->IsValid());
    const Ref<Share> short_ = MakeRef<Share>(context, server_, std::wstring(), L"docs", 1);
    ASSERT_TRUE(short_->IsValid());
    EXPECT_EQ(short_->MaxUses(), -1);
    EXPECT_EQ(short_->ErrorCode(), kErrorAccessDenied);
    EXPECT_FALSE(OpenShareObject(context, server_, L"nothing", L"")->IsValid());
}

TEST_F(ShareTest, UnchangedFlushWritesNothing)
{
    const Ref<Share> share = Create(L"C:\\DATA", L"docs");
    server_.calls.clear();
    EXPECT_FALSE(share->Flush());
    share->SetRemark(L"remark");
    share->SetPath(L"c:\\data");  // the same path in other letters
    EXPECT_FALSE(share->IsModified());
    share->SetRemark(L"new");
    EXPECT_TRUE(share->Flush());
    EXPECT_EQ(server_.calls, (std::vector<std::wstring>{L"set docs"}));
    EXPECT_EQ(server_.shares.at(L"DOCS").remark, L"new");
}

TEST_F(ShareTest, NewPathRecreatesTheShareWithItsAccessList)
{
    const Ref<Share> share = Create(L"C:\\DATA", L"docs");
    security.objects[L"docs"].dacl = MakeAclBytes({{0, 0, 0x1200A9, "S-1-1-0"}});
    share->SetPath(L"D:\\OTHER");
    security.writes.clear();
    ASSERT_TRUE(share->Flush());
    EXPECT_EQ(server_.shares.at(L"DOCS").path, L"D:\\OTHER");
    ASSERT_EQ(security.writes.size(), 1u);
    EXPECT_EQ(security.writes[0].target.name, L"docs");
    EXPECT_EQ(security.writes[0].parts.dacl, security.objects[L"docs"].dacl);
}

TEST_F(ShareTest, FailedReAddPutsTheOriginalBack)
{
    struct Case
    {
        const char* change;
        const wchar_t* netName;
        const wchar_t* path;
    };
    const Case cases[] = {
        {"bad path", L"docs", L"E:\\NOWHERE"},
        {"new name and bad path", L"papers", L"E:\\NOWHERE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        server_.shares.clear();
        const Ref<Share> share = Create(L"C:\\DATA", L"docs");
        const AclBytes acl = MakeAclBytes({{0, 3, 0x1F01FF, "S-1-5-32-545"}});
        security.objects[L"docs"].dacl = acl;
        share->SetNetName(c.netName);
        share->SetPath(c.path);
        security.writes.clear();
        EXPECT_FALSE(share->Flush());
        EXPECT_EQ(share->ErrorCode(), kUnknownFolder);
        EXPECT_FALSE(share->IsModified());
        ASSERT_EQ(server_.shares.size(), 1u);
        EXPECT_EQ(server_.shares.at(L"DOCS").path, L"C:\\DATA");  // the original, by its own name
        EXPECT_EQ(share->NetName(), L"docs");
        ASSERT_FALSE(security.writes.empty());
        EXPECT_EQ(security.writes.back().target.name, L"docs");
        EXPECT_EQ(security.writes.back().parts.dacl, acl);
    }
}

TEST_F(ShareTest, DeleteMakesTheObjectInvalid)
{
    const Ref<Share> share = Create(L"C:\\DATA", L"docs");
    ASSERT_TRUE(share->Delete());
    EXPECT_FALSE(share->IsValid());
    EXPECT_TRUE(server_.shares.empty());
    EXPECT_EQ(share->GetAcl()->ErrorCode(), kErrorObjectInvalid);
    const Ref<Share> printer = Create(L"LaserJet", L"laser");
    ASSERT_TRUE(printer->Delete());
    EXPECT_EQ(server_.calls.back(), L"printer LaserJet ");
}

class ShareStatementTest : public engine::testing::StatementTest
{
protected:
    void SetUp() override
    {
        RegisterShareStatements(handlers, {&server, &security, &wow64, &WidenLatin1});
    }
    FakeShareServer server;
    FakeSecurityApi security;
    engine::testing::FakeWow64Switch wow64;
};

TEST_F(ShareStatementTest, CreateAndDeleteShare)
{
    engine.Variables.Set("DATA", "c:\\data\\", "");
    Run({"Create Share|$DATA$|Data*Share|Our files", "Create Share|C:|root|",
         "Create Share|c:\\data|remote|x|ignored", "Create Share|LaserJet|laser|"});
    EXPECT_EQ(server.calls, (std::vector<std::wstring>{
                                L"add Data\u00d7Share C:\\DATA",
                                L"add root C:\\",
                                L"add remote C:\\DATA",
                                L"printer LaserJet laser",
                                L"set laser",
                            }));
    const ShareRecord& data = server.shares.at(L"DATA\u00d7SHARE");
    EXPECT_EQ(data.remark, L"Our files");
    EXPECT_EQ(data.permissions, 0xFFu);
    EXPECT_EQ(data.maxUses, -1);
    // A server after the "|" of the first parameter.
    server.calls.clear();
    engine.Variables.Set("ONBOX", "c:\\data|box", "");
    engine.Variables.Set("GONE", "absent|srv", "");
    Run({"Create Share|$ONBOX$|onbox|", "Delete Share|root", "Delete Share|$GONE$"});
    EXPECT_EQ(server.calls, (std::vector<std::wstring>{L"add onbox C:\\DATA @box", L"del root"}));
    EXPECT_FALSE(server.shares.count(L"ROOT"));
    EXPECT_EQ(wow64.disabled, 0);
}

}  // namespace
}  // namespace setup::sysconfig::security
