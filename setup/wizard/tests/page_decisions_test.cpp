// The page decisions that need no window, as tables.
#include <gtest/gtest.h>

#include <set>

#include "setup/wizard/page_decisions.h"

namespace setup::wizard {
namespace {

TEST(PagePlacement, KeepsThePlaceOfEqualSizesAndCentresANewSize)
{
    PagePlacement placement;
    struct Step
    {
        int width, height;
        int movedLeft, movedTop;  // where the user left the page (-1: not moved)
        int left, top;
    };
    const Step steps[] = {
        {400, 300, 10, 20, 312, 234},  // first page: centred on 1024x768, then moved
        {400, 300, -1, -1, 10, 20},    // same size: the moved place
        {500, 300, -1, -1, 262, 234},  // another size: centred again
        {500, 300, -1, -1, 262, 234},
        {400, 300, -1, -1, 312, 234},  // back to the first size: centred, a new reference
    };
    for (const Step& step : steps) {
        const PagePosition position = PlacePage(placement, step.width, step.height, 1024, 768);
        EXPECT_EQ(position.left, step.left) << step.width;
        EXPECT_EQ(position.top, step.top) << step.width;
        if (step.movedLeft >= 0) {
            placement.lastLeft = step.movedLeft;
            placement.lastTop = step.movedTop;
        }
    }
}

TEST(CaptionSuffix, AppearsOnceOrGoesWithTheLogoSwitch)
{
    const std::string suffix = " - Setup";
    std::string caption = "Welcome";
    for (int i = 0; i < 3; ++i)
        caption = ApplyCaptionSuffix(caption, suffix, false);
    EXPECT_EQ(caption, "Welcome - Setup");
    EXPECT_EQ(ApplyCaptionSuffix(caption, suffix, true), "Welcome");
    EXPECT_EQ(ApplyCaptionSuffix("Welcome", suffix, true), "Welcome");
}

TEST(ProgressPercent, ClampsAndFillsOnText)
{
    const std::pair<const char*, int> cases[] = {
        {"101", 100}, {"-1", 0}, {"x", 100}, {"50", 50}, {"0", 0}, {"100", 100}, {"", 100},
        {"12x", 100}, {"99999999999999999999", 100},
    };
    for (const auto& [text, percent] : cases)
        EXPECT_EQ(ClampProgressPercent(text), percent) << text;
}

TEST(BrowsedFolder, KeepsTheTargetForItsParentsAndMovesTheTailElsewhere)
{
    struct Case
    {
        const char* chosen;
        const char* text;
    };
    // TARGETDIR C:\Program Files\App\Main with only C:\Program Files existing.
    const Case cases[] = {
        {"D:\\Apps", "D:\\Apps\\App\\Main"},
        {"C:\\", "C:\\Program Files\\App\\Main"},
        {"C:\\Program Files", "C:\\Program Files\\App\\Main"},
        {"c:\\program files\\", "C:\\Program Files\\App\\Main"},
        // A folder whose name only begins like a parent's is no parent.
        {"C:\\Pro", "C:\\Pro\\App\\Main"},
        {"C:\\Program Files\\Ap", "C:\\Program Files\\Ap\\App\\Main"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BrowsedFolderText("C:\\Program Files\\App\\Main", "App\\Main", c.chosen), c.text)
            << c.chosen;
    EXPECT_EQ(BrowsedFolderText("", "", "E:\\New"), "E:\\New");
}

TEST(TargetFolder, NearestExistingParentAndTail)
{
    const std::set<std::string> folders = {"C:\\", "C:\\Program Files\\"};
    const auto exists = [&](const std::string& folder) {
        return folders.count(folder) || folders.count(folder + "\\");
    };
    EXPECT_EQ(NearestExistingFolder("C:\\Program Files\\App\\Main", exists), "C:\\Program Files\\");
    EXPECT_EQ(TargetDirTail("C:\\Program Files\\App\\Main", "C:\\Program Files\\"), "App\\Main");
    EXPECT_EQ(NearestExistingFolder("Q:\\Nothing\\Here", exists), "");
    EXPECT_EQ(TargetDirTail("C:\\Program Files", "C:\\Program Files\\"), "");
}

TEST(CollapseBackslashes, KeepsTheLeadingPairOfANetworkPath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\\\Program Files\\\\App", "C:\\Program Files\\App"},
        {"\\\\server\\\\share\\\\x", "\\\\server\\share\\x"},
        {"C:\\a\\\\\\b", "C:\\a\\b"},
        {"plain", "plain"},
    };
    for (const auto& [path, collapsed] : cases)
        EXPECT_EQ(CollapseBackslashes(path), collapsed) << path;
}

TEST(EndOfText, ThePageCoversWhatIsLeft)
{
    struct Case
    {
        ScrollState scroll;
        bool atEnd;
    };
    const Case cases[] = {
        {{0, 99, 20, 0}, false},   // at the top of a long text
        {{0, 99, 20, 80}, true},   // the last page in view
        {{0, 99, 20, 79}, true},   // the page covers the last twenty lines
        {{0, 99, 20, 78}, false},  // one line short
        {{0, 0, 0, 0}, true},      // no scroll range: the text fits
        {{0, 10, 50, 0}, true},    // a page larger than the text
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsScrolledToEnd(c.scroll), c.atEnd) << c.scroll.position;
}

TEST(MetaRefresh, UrlBecomesAFileBesideThePages)
{
    const std::pair<const char*, const char*> cases[] = {
        {"next%20page.htm", "next page.htm"},
        {"a%zzb%20.htm", "a%zzb%20.htm"},     // a pair that is not hexadecimal ends the decoding
        {"%20lead.htm", "%20lead.htm"},       // an escape at the start stays
        {"end%2", "end%2"},                   // too short
        {"file:///C|/pages/next.htm", "C:\\pages\\next.htm"},
        {"FILE://pages/a.htm", "pages\\a.htm"},
        {"sub/page.htm", "sub\\page.htm"},
    };
    for (const auto& [url, path] : cases)
        EXPECT_EQ(MetaRefreshUrlToPath(url), path) << url;
}

TEST(HotSpot, LocalProgramsSoundsAndWebLinks)
{
    struct Case
    {
        const char* link;
        HotSpotAction::Kind kind;  // before the path is expanded
        const char* path;
        const char* parameters;
    };
    const Case cases[] = {
        {"tool.exe /quiet now", HotSpotAction::LeaveToViewer, "tool.exe", "/quiet now"},
        {"page.htm?x=1", HotSpotAction::LeaveToViewer, "page.htm", "x=1"},
        {"C:\\Program Files\\tool.exe", HotSpotAction::LeaveToViewer, "C:\\Program", "Files\\tool.exe"},
        {"file:///c:/x.wav", HotSpotAction::LeaveToViewer, "file:///c:/x.wav", ""},
        {"http://example.com/", HotSpotAction::OpenWithShell, "http://example.com/", ""},
        {"mailto:a@b.c", HotSpotAction::OpenWithShell, "mailto:a@b.c", ""},
        {"https://example.com/", HotSpotAction::LeaveToViewer, "", ""},
    };
    for (const Case& c : cases) {
        const HotSpotAction action = ClassifyHotSpot(c.link);
        EXPECT_EQ(action.kind, c.kind) << c.link;
        EXPECT_EQ(action.path, c.path) << c.link;
        EXPECT_EQ(action.parameters, c.parameters) << c.link;
    }
    EXPECT_EQ(LocalLinkKind("C:\\a\\Tool.EXE"), HotSpotAction::StartProgram);
    EXPECT_EQ(LocalLinkKind("C:\\a\\ding.wav"), HotSpotAction::PlaySound);
    EXPECT_EQ(LocalLinkKind("C:\\a\\page.htm"), HotSpotAction::LeaveToViewer);
    // The program's path is quoted, so "C:\Documents and Settings\..." cannot start C:\Documents.
    EXPECT_EQ(QuotedCommandLine("C:\\Documents and Settings\\a.exe", "/x"),
              "\"C:\\Documents and Settings\\a.exe\" /x");
    EXPECT_EQ(QuotedCommandLine("C:\\a.exe", ""), "\"C:\\a.exe\"");
}

TEST(DefaultDocuments, LookupOrderAndExplanations)
{
    EXPECT_EQ(DefaultDocumentNames(false, 2, "DE"),
              (std::vector<std::string>{"license.DE.txt", "license.txt"}));
    EXPECT_EQ(DefaultDocumentNames(true, 1, ""),
              (std::vector<std::string>{"readme..rtf", "readme.rtf", "readme..txt", "readme.txt"}));
    EXPECT_EQ(MissingDocumentText(false, 1, "DE"),
              "Add a readme.DE.txt or readme.txt file to your project as a support "
              "file/creative to display it here.");
    EXPECT_EQ(MissingDocumentText(true, 2, ""),
              "Add a license..rtf or license.rtf, or license..txt or license.txt file to your "
              "project as a support file/creative to display it here.");
}

}  // namespace
}  // namespace setup::wizard
