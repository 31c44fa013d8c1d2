#include "setup/wizard/page_decisions.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/script/path_text.h"
#include "setup/htmlview/util/reference_path.h"

namespace setup::wizard {

namespace {

std::string Upper(std::string_view text)
{
    return rtl::AnsiUpperCase(text);
}

std::string WithBackslash(std::string_view path)
{
    std::string result(path);
    if (result.empty() || result.back() != '\\')
        result += '\\';
    return result;
}

// The folder part of the path without its trailing backslash.
std::string ParentOf(std::string_view path)
{
    std::string trimmed(path);
    while (trimmed.size() > 1 && trimmed.back() == '\\')
        trimmed.pop_back();
    return engine::ExtractFilePath(trimmed);
}

}  // namespace

std::string CollapseBackslashes(std::string_view path)
{
    std::string result;
    result.reserve(path.size());
    for (char c : path) {
        if (c == '\\' && !result.empty() && result.back() == '\\')
            continue;
        result += c;
    }
    if (path.substr(0, 2) == "\\\\")
        result.insert(result.begin(), '\\');
    return result;
}

std::string NearestExistingFolder(std::string_view path,
                                  const std::function<bool(const std::string&)>& folderExists)
{
    std::string folder(path);
    while (!folder.empty() && !folderExists(folder)) {
        const std::string parent = WithBackslash(ParentOf(folder));
        if (parent == folder || parent == WithBackslash(folder) || parent == "\\")
            return {};
        folder = parent;
    }
    return folder;
}

std::string TargetDirTail(std::string_view targetDir, std::string_view nearestFolder)
{
    if (nearestFolder.empty())
        return {};
    const std::size_t skip = WithBackslash(nearestFolder).size();
    return skip >= targetDir.size() ? std::string() : std::string(targetDir.substr(skip));
}

PagePosition PlacePage(PagePlacement& placement, int width, int height, int screenWidth,
                       int screenHeight)
{
    if (!placement.recentreNext &&
        (width != placement.lastWidth || height != placement.lastHeight))
        placement.recentreNext = true;
    PagePosition position{placement.lastLeft, placement.lastTop};
    if (placement.recentreNext) {
        position = {(screenWidth - width) / 2, (screenHeight - height) / 2};
        placement.lastWidth = width;
        placement.lastHeight = height;
    }
    placement.recentreNext = false;
    placement.lastLeft = position.left;
    placement.lastTop = position.top;
    return position;
}

std::string ApplyCaptionSuffix(std::string caption, std::string_view suffix, bool logoSwitch)
{
    if (suffix.empty())
        return caption;
    const std::size_t at = caption.find(suffix);
    if (logoSwitch) {
        if (at != std::string::npos)
            caption.erase(at, suffix.size());
    } else if (at == std::string::npos) {
        caption += suffix;
    }
    return caption;
}

int ClampProgressPercent(std::string_view value)
{
    const std::string text(value);
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || errno == ERANGE ||
        std::isspace(static_cast<unsigned char>(text.front())))
        return 100;
    if (number > 100)
        return 100;
    if (number < 0)
        return 0;
    return static_cast<int>(number);
}

std::string BrowsedFolderText(std::string_view targetDirAtShow, std::string_view targetDirTail,
                              std::string_view chosenFolder)
{
    const std::string base(targetDirAtShow.empty() ? chosenFolder : targetDirAtShow);
    const std::string upperBase = Upper(base);
    std::string upperChosen = Upper(chosenFolder);
    while (!upperChosen.empty() && upperChosen.back() == '\\')
        upperChosen.pop_back();
    const bool withinBase =
        upperBase.compare(0, upperChosen.size(), upperChosen) == 0 &&
        (upperBase.size() == upperChosen.size() || upperBase[upperChosen.size()] == '\\');
    if (withinBase)
        return base;
    return WithBackslash(chosenFolder) + std::string(targetDirTail);
}

bool IsScrolledToEnd(const ScrollState& scroll)
{
    const long long left = static_cast<long long>(scroll.maximum) - scroll.position;
    return left < 0 || scroll.page >= left;
}

std::string MetaRefreshUrlToPath(std::string_view url)
{
    // The viewer's own reading of a link as a file.
    return htmlview::ReferenceToPath(url);
}

HotSpotAction ClassifyHotSpot(std::string_view link)
{
    HotSpotAction action;
    const std::string upper = Upper(link);
    const std::size_t colon = link.find(':');
    const bool noScheme = colon == std::string_view::npos || colon < 2;
    if (noScheme || upper.find("FILE:") != std::string::npos) {
        std::string path(link.substr(0, 255));
        std::size_t split = path.find(' ');
        if (split == std::string::npos)
            split = path.find('?');
        if (split != std::string::npos) {
            action.parameters = path.substr(split + 1);
            path.erase(split);
        }
        action.path = path;
        return action;  // the kind follows from the expanded path (LocalLinkKind)
    }
    if (upper.find("MAILTO:") != std::string::npos || upper.find("HTTP:") != std::string::npos) {
        action.kind = HotSpotAction::OpenWithShell;
        action.path = std::string(link);
    }
    return action;
}

HotSpotAction::Kind LocalLinkKind(std::string_view expandedPath)
{
    const std::string extension = Upper(engine::ExtractFileExt(expandedPath));
    if (extension == ".WAV")
        return HotSpotAction::PlaySound;
    if (extension == ".EXE")
        return HotSpotAction::StartProgram;
    return HotSpotAction::LeaveToViewer;
}

std::string QuotedCommandLine(std::string_view program, std::string_view parameters)
{
    std::string line = "\"" + std::string(program) + "\"";
    if (!parameters.empty())
        line += " " + std::string(parameters);
    return line;
}

std::vector<std::string> DefaultDocumentNames(bool richEdit, int tag, std::string_view language)
{
    const std::string base = tag == 2 ? "license." : "readme.";
    const std::string lang(language);
    if (richEdit)
        return {base + lang + ".rtf", base + "rtf", base + lang + ".txt", base + "txt"};
    return {base + lang + ".txt", base + "txt"};
}

std::string MissingDocumentText(bool richEdit, int tag, std::string_view language)
{
    const std::string name = tag == 2 ? "license" : "readme";
    const std::string lang(language);
    const std::string tail = " file to your project as a support file/creative to display it here.";
    if (richEdit)
        return "Add a " + name + "." + lang + ".rtf or " + name + ".rtf, or " + name + "." + lang +
               ".txt or " + name + ".txt" + tail;
    return "Add a " + name + "." + lang + ".txt or " + name + ".txt" + tail;
}

std::vector<std::string> IndexPageNames(std::string_view language)
{
    return {"index." + std::string(language) + ".htm", "index.htm"};
}

}  // namespace setup::wizard
