// Any bytes as the file a viewer shows: the first byte picks the pane's size, the rest is an HTML
// page beside a second page and a linked sheet made of the same bytes. The viewer loads it, then
// follows every link, scrolls, selects, hovers and pans across it as a user would, and works its
// form controls and link tab stops (focus, clicks, Enter), with the control host arriving after
// the first page and leaving at the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "setup/htmlview/forms/fake_control_host.h"
#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/tests/viewer_fakes.h"
#include "setup/htmlview/util/fake_platform.h"
#include "setup/htmlview/viewer/html_viewer.h"

namespace {

using namespace htmlview;

using fakes::MemoryFiles;
using QuietWindow = fakes::RecordingWindow;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string html(reinterpret_cast<const char*>(data) + 1, size - 1);
    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    MemoryFiles files("C:\\");
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
    FakeControlHost host;
    int submits = 0;
    viewer.onFormSubmit = [&](const Form::Submitted&) { ++submits; };
    viewer.onFileBrowse = [](EditControl&, std::string& name) { name += "x"; };
    viewer.LoadFromFile("page.htm#top");
    viewer.SetControlHost(&host);
    viewer.LoadDocumentString(html, "page.htm", DocumentKind::Text);
    viewer.LoadFromFile("page.htm");
    // Every control and link stop worked once; posted submissions delivered as they come.
    std::vector<int> ids;
    for (const auto& [id, control] : host.controls)
        if (ids.size() < 40)
            ids.push_back(id);
    for (int id : ids)
        for (ControlEvent event : {ControlEvent::Enter, ControlEvent::Click, ControlEvent::Return,
                                   ControlEvent::ArrowForward, ControlEvent::Leave}) {
            if (host.controls.count(id) && host.onEvent)
                host.onEvent(id, event);
            viewer.DeliverFormSubmit();
        }
    viewer.Paint({0, 0, viewer.pane.width, viewer.pane.height});
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
    viewer.SetControlHost(nullptr);
    if (!host.controls.empty())
        std::abort();  // a control outlived the host's use
    viewer.Clear();
    return 0;
}
