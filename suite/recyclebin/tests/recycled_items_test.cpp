#include "suite/recyclebin/recycled_items.h"

#include <gtest/gtest.h>

namespace trashwipe {
namespace {

RecycledItemList Fixture()
{
    RecycledItemList list;
    list.Add({L"C:\\Bin\\$R1", L"C:\\Docs\\Old", 30, 3, true});
    list.Add({L"C:\\Bin\\$R1.txt", L"C:\\Docs\\note.txt", 5, 1, false});
    list.Add({L"C:\\Bin\\$R2.txt", L"C:\\Docs\\note.txt", 7, 1, false});  // same former path
    return list;
}

TEST(RecycledItems, ResolvesBothWaysAndBelowFolderEntries)
{
    const RecycledItemList list = Fixture();
    struct Case
    {
        const wchar_t* path;
        const wchar_t* expected;
        std::optional<std::size_t> record;
    };
    const Case cases[] = {
        {L"C:\\Bin\\$R1\\a\\b.txt", L"C:\\Docs\\Old\\a\\b.txt", std::nullopt},
        {L"C:\\Bin\\$R1", L"C:\\Docs\\Old", 0},
        // A file whose name only begins with the folder entry's name is not inside it.
        {L"C:\\Bin\\$R1.txt", L"C:\\Docs\\note.txt", 1},
        {L"c:\\docs\\NOTE.txt", L"C:\\Bin\\$R1.txt", 1},
        {L"C:\\\\Bin\\\\$R2.txt", L"C:\\Docs\\note.txt", 2},  // doubled separators are one
        {L"C:\\Elsewhere\\x", L"", std::nullopt},
    };
    for (const Case& c : cases) {
        const ResolvedPath resolved = list.Resolve(c.path);
        EXPECT_EQ(resolved.path, c.expected) << c.path;
        EXPECT_EQ(resolved.record, c.record) << c.path;
    }
}

TEST(RecycledItems, SplitsNameAndFolder)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* name;
        std::optional<std::wstring> folder;
    };
    const Case cases[] = {
        {L"C:\\Docs\\note.txt", L"note.txt", L"C:\\Docs"},
        {L"C:\\note.txt", L"note.txt", L"C:\\"},
        {L"note.txt", L"note.txt", std::nullopt},
        {L"\\\\srv\\share\\f", L"f", L"\\\\srv\\share"},
    };
    for (const Case& c : cases) {
        const SplitPath split = SplitItemPath(c.path);
        EXPECT_EQ(split.name, c.name) << c.path;
        EXPECT_EQ(split.folder, c.folder) << c.path;
    }
}

}  // namespace
}  // namespace trashwipe
