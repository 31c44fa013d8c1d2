// Any bytes as the file a viewer shows: the first byte picks the pane's size, the rest is an HTML
// page beside a second page and a linked sheet made of the same bytes. The viewer loads it, then
// follows every link, scrolls, selects, hovers and pans across it as a user would.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/util/fake_platform.h"
#include "setup/htmlview/viewer/html_viewer.h"

namespace {

using namespace htmlview;

class MemoryFiles : public IViewerFiles
{
public:
    bool FileExists(const std::string& path) const override { return files.count(FullPath(path)); }
    std::optional<std::string> ReadFile(const std::string& path) const override
    {
        const auto found = files.find(FullPath(path));
        return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    std::string FullPath(const std::string& path) const override
    {
        return path.size() > 1 && path[1] == ':' ? path : "C:\\" + path;
    }
    std::map<std::string, std::string> files;
};

class QuietWindow : public IViewerWindow
{
public:
    void Invalidate() override {}
    void ScrollContents(int) override {}
    void ArrangeBars(const BarArrangement&, int, int) override {}
    void SetScrollPositions(int, int) override {}
    void SetCursor(ViewerCursor) override {}
    void SetHoverTimer(bool) override {}
    void SetDragScrollTimer(bool) override {}
    void PostLinkActivation() override {}
    void CopyText(const std::u16string&) override {}
    void TakeFocus() override {}
    int WheelLines() const override { return 3; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string html(reinterpret_cast<const char*>(data) + 1, size - 1);
    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    MemoryFiles files;
    files.files["C:\\page.htm"] = html;
    files.files["C:\\other.htm"] = html.substr(0, html.size() / 2);
    files.files["C:\\style.css"] = html;
    QuietWindow window;
    HtmlViewer viewer({measurer, fonts, codePages, files}, window);
    viewer.pane.width = 40 + data[0] * 2;
    viewer.pane.height = 30 + (data[0] & 0x3F) * 3;
    viewer.History().SetMaxCount(3);
    int refreshes = 0;
    viewer.onMetaRefresh = [&](int delay, const std::string&) {
        if (delay < 1)
            std::abort();
        ++refreshes;
    };
    viewer.LoadFromFile("page.htm#top");
    viewer.LoadDocumentString(html, "page.htm", DocumentKind::Text);
    viewer.LoadFromFile("page.htm");
    // Every link followed once, from the page itself.
    std::vector<std::string> links;
    for (const FontRun* run : viewer.GetDocument().links)
        if (links.size() < 20)
            links.push_back(run->link.url);
    for (const std::string& url : links) {
        viewer.SetLink(url, {});
        try {
            viewer.ActivateLink();
        } catch (const ViewerError&) {
        }
        viewer.LoadFromFile("page.htm");
    }
    for (std::uint16_t key : {0x28, 0x22, 0x23, 0x21, 0x24, 0x27, 0x25, 0x26})
        viewer.KeyDown(key, false, false);
    viewer.Wheel(-120);
    const int step = 7 + data[0] % 13;
    for (int y = -5; y < viewer.pane.height + 5; y += step) {
        viewer.MouseMove(false, y * 3 % viewer.pane.width, y);
        viewer.MouseDown(MouseButton::Left, false, y, y);
        viewer.MouseMove(true, viewer.pane.width - y, y + step);
        viewer.DragScrollStep(y - 20);
        viewer.MouseUp(MouseButton::Left, false, viewer.pane.width - y, y + step);
        viewer.DoubleClick(y, y);
        viewer.SelectedText();
    }
    viewer.MouseDown(MouseButton::Middle, false, 10, 10);
    viewer.MouseMove(false, 10, 80);
    viewer.DragScrollStep(80);
    viewer.KeyDown(0x28, false, false);
    viewer.SelectAll();
    viewer.SelectedText();
    viewer.pane.width = 200;
    viewer.Relayout();
    viewer.Paint({0, 0, viewer.pane.width, viewer.pane.height});
    if (viewer.VerticalPosition() < 0 || viewer.VerticalPosition() > viewer.DocumentHeight())
        std::abort();
    viewer.Clear();
    return 0;
}
