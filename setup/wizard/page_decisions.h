// The decisions of the wizard pages that need no window: where a page appears, how a caption gets
// the wizard's suffix, how progress values clamp, which folder a browse leaves in the target
// edits, when a licence counts as read, and how links and meta refreshes become files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace setup::wizard {

// Every "\\" becomes "\"; a network path keeps its leading pair.
std::string CollapseBackslashes(std::string_view path);

// The path itself while it exists, else its nearest existing parent (with a trailing "\");
// empty when no parent exists.
std::string NearestExistingFolder(std::string_view path,
                                  const std::function<bool(const std::string&)>& folderExists);
// The part of the target folder below its nearest existing folder (empty when it all exists).
std::string TargetDirTail(std::string_view targetDir, std::string_view nearestFolder);

// Consecutive pages of one size keep the previous page's place; the first page and a page of
// another size are centred and become the new reference.
struct PagePlacement
{
    bool recentreNext = true;
    int lastLeft = 0;
    int lastTop = 0;
    int lastWidth = 0;
    int lastHeight = 0;
};
struct PagePosition
{
    int left = 0;
    int top = 0;
};
PagePosition PlacePage(PagePlacement& placement, int width, int height, int screenWidth,
                       int screenHeight);

// With the logo switch on the suffix is taken out of the caption once; without it the caption
// gets the suffix once however often it is prepared.
std::string ApplyCaptionSuffix(std::string caption, std::string_view suffix, bool logoSwitch);

// A progress value as a bar shows it: above 100 is 100, negative is 0, not a number is 100.
int ClampProgressPercent(std::string_view value);

// The text a browse leaves in the target-folder edits. Choosing the target folder or one of its
// parents keeps the target folder; choosing another folder moves the missing tail under it.
// Folders match at path boundaries only ("C:\Pro" is no parent of "C:\Program Files").
std::string BrowsedFolderText(std::string_view targetDirAtShow, std::string_view targetDirTail,
                              std::string_view chosenFolder);

// The vertical scroll state of a read-only memo; the text counts as read once the page covers
// what is left below the position.
struct ScrollState
{
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
};
bool IsScrolledToEnd(const ScrollState& scroll);
// The memo's maximum length that marks its text as read to the end (page rules test it).
inline constexpr std::int32_t kReadToEndMark = 2147483647;
inline constexpr std::int32_t kDocumentMaxLength = 1048576;

// "%20" escapes decoded (a pair that is not hexadecimal ends the decoding) and, for a URL with
// "/", the file scheme taken off and the separators made Windows ones.
std::string MetaRefreshUrlToPath(std::string_view url);

// What a link on a page does.
struct HotSpotAction
{
    enum Kind
    {
        LeaveToViewer,
        PlaySound,
        StartProgram,
        OpenWithShell,
    };
    Kind kind = LeaveToViewer;
    std::string path;        // the file before expansion against the document (local links)
    std::string parameters;  // of a program
};
HotSpotAction ClassifyHotSpot(std::string_view link);
// What decides a local link once the viewer has expanded its path.
HotSpotAction::Kind LocalLinkKind(std::string_view expandedPath);
// A program's command line with its path quoted, so a path with spaces cannot start another
// program.
std::string QuotedCommandLine(std::string_view program, std::string_view parameters);

// Default documents of a memo or rich edit (Tag 1 readme, 2 licence) and of an HTML pane, in the
// order they are looked for.
std::vector<std::string> DefaultDocumentNames(bool richEdit, int tag, std::string_view language);
std::string MissingDocumentText(bool richEdit, int tag, std::string_view language);
std::vector<std::string> IndexPageNames(std::string_view language);
inline constexpr std::string_view kMissingIndexText =
    "Add an index.htm file to your project to display it here, along with any other additional "
    "support/linked files.";

}  // namespace setup::wizard
