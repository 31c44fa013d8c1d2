#include "shred/engine/shred_target.h"
#include "shred/engine/tests/memory_system.h"

#include <gtest/gtest.h>

namespace shred::testing {
namespace {

TEST(ResolveShredTarget, EveryWrittenFormNamesOneFullFolderAndName)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* folder;  // nullptr: refused
        const wchar_t* name;
        bool isPattern;
    };
    const std::vector<Case> cases{
        {L"C:\\x.txt", L"C:", L"x.txt", false},
        {L"S:\\t\\dir/a.txt", L"S:\\t\\dir", L"a.txt", false},
        {L"S:/t/dir/a.txt", L"S:\\t\\dir", L"a.txt", false},
        {L"S:\\t\\\\dir\\\\a.txt", L"S:\\t\\dir", L"a.txt", false},
        {L"a.txt", L"C:\\work", L"a.txt", false},
        {L"sub/a.txt", L"C:\\work\\sub", L"a.txt", false},
        {L".\\sub\\..\\a.txt", L"C:\\work", L"a.txt", false},
        {L"..\\a.txt", L"C:", L"a.txt", false},
        {L"..\\..\\..\\a.txt", L"C:", L"a.txt", false},
        {L"\\top\\a.txt", L"C:\\top", L"a.txt", false},
        {L"D:a.txt", L"D:\\cur", L"a.txt", false},
        {L"E:a.txt", L"E:", L"a.txt", false},
        {L"D:..\\a.txt", L"D:", L"a.txt", false},
        {L"S:\\t\\dir ", L"S:\\t", L"dir", false},
        {L"S:\\t\\dir. .", L"S:\\t", L"dir", false},
        {L"dir. .", L"C:\\work", L"dir", false},
        {L"S:\\t\\dir.\\a.txt", L"S:\\t\\dir", L"a.txt", false},
        {L"S:\\t\\dir\\.", L"S:\\t", L"dir", false},
        {L"S:\\t\\dir \\.", L"S:\\t", L"dir", false},
        {L"S:\\t\\d.\\a.txt", L"S:\\t\\d", L"a.txt", false},
        {L"S:\\t\\d..\\a.txt", L"S:\\t\\d..", L"a.txt", false},
        {L"S:\\t\\dir \\a.txt", L"S:\\t\\dir ", L"a.txt", false},
        {L"S:\\t\\dir/*.txt", L"S:\\t\\dir", L"*.txt", true},
        {L"sub/a?.*", L"C:\\work\\sub", L"a?.*", true},
        {L"S:\\t\\a<b", L"S:\\t", L"a<b", true},
        {L"\\\\srv\\share\\a\\b.txt", L"\\\\srv\\share\\a", L"b.txt", false},
        {L"//srv/share/b.txt", L"\\\\srv\\share", L"b.txt", false},
        {L"\\\\srv\\share\\..\\..\\b.txt", L"\\\\srv\\share", L"b.txt", false},
        // Refused: nothing, roots, insides of folders, device paths, streams, wildcards in a
        // folder name, and patterns whose trailing dots the system reads its own way.
        {L"", nullptr, nullptr, false},
        {L"C:", nullptr, nullptr, false},
        {L"C:\\", nullptr, nullptr, false},
        {L"C:\\..", nullptr, nullptr, false},
        {L"S:\\t\\dir\\", nullptr, nullptr, false},
        {L"S:\\t\\dir/", nullptr, nullptr, false},
        {L"\\", nullptr, nullptr, false},
        {L".", L"C:", L"work", false},
        {L"\\\\srv\\share", nullptr, nullptr, false},
        {L"\\\\srv", nullptr, nullptr, false},
        {L"\\\\?\\C:\\a.txt", nullptr, nullptr, false},
        {L"\\\\.\\C:", nullptr, nullptr, false},
        {L"//?/C:/a.txt", nullptr, nullptr, false},
        {L"C:\\a.txt:stream", nullptr, nullptr, false},
        {L"C:\\*\\a.txt", nullptr, nullptr, false},
        {L"C:\\t\\*.", nullptr, nullptr, false},
        {L"C:\\t\\a* ", nullptr, nullptr, false},
        {L"C:\\t\\...", nullptr, nullptr, false},
        {L"C:\\t\\ ", nullptr, nullptr, false},
    };
    MemorySystem system;
    system.currentFolder = L"C:\\work";
    system.driveFolders[L'D'] = L"D:\\cur";
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.path)));
        const std::optional<ShredTarget> target = ResolveShredTarget(system, c.path);
        if (!c.folder) {
            EXPECT_FALSE(target.has_value());
            continue;
        }
        ASSERT_TRUE(target.has_value());
        EXPECT_EQ(target->folder, c.folder);
        EXPECT_EQ(target->name, c.name);
        EXPECT_EQ(target->isPattern, c.isPattern);
    }
}

// A system whose short-name expansion answers with something else than the same folder.
class OddLongPaths : public MemorySystem
{
public:
    std::wstring answer;
    std::wstring LongPath(const std::wstring&) override { return answer; }
};

TEST(ResolveShredTarget, TakesTheLongFolderOnlyWhenItIsTheSameFolder)
{
    const std::vector<std::pair<std::wstring, std::wstring>> cases{
        {L"C:\\Program Files\\Vontar", L"C:\\Program Files\\Vontar"},
        {L"C:\\Program Files\\", L"C:\\PROGRA~1\\VONTAR~1"},
        {L"C:\\elsewhere", L"C:\\PROGRA~1\\VONTAR~1"},
        {L"Vontar", L"C:\\PROGRA~1\\VONTAR~1"},
    };
    for (const auto& [answer, folder] : cases) {
        OddLongPaths system;
        system.answer = answer;
        const std::optional<ShredTarget> target =
            ResolveShredTarget(system, L"C:\\PROGRA~1\\VONTAR~1\\x.txt");
        ASSERT_TRUE(target.has_value());
        EXPECT_EQ(target->folder, folder) << ::testing::PrintToString(answer);
    }
}

TEST(IsLiteralName, RefusesNamesTheSystemWouldReadAsSomethingElse)
{
    const std::vector<std::pair<std::wstring, bool>> cases{
        {L"a.txt", true}, {L".hidden", true}, {L"a b", true},    {L"...x", true},  {L"", false},
        {L".", false},    {L"..", false},     {L"a*b", false},   {L"?", false},    {L"a<b", false},
        {L"a>b", false},  {L"a\"b", false},   {L"..\\x", false}, {L"x\\y", false}, {L"x/y", false},
        {L"a:s", true},   {L"b.", false},     {L"b ", false},    {L"b. .", false},
    };
    for (const auto& [name, literal] : cases)
        EXPECT_EQ(IsLiteralName(name), literal) << ::testing::PrintToString(name);
}

}  // namespace
}  // namespace shred::testing
