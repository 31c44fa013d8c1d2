// A viewer with form controls in its documents, through the fake control host: where painting
// puts them, the order Tab takes, focus bringing them into view, Enter on links and text boxes,
// the events the viewer raises, what the history keeps and the host arriving late.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/htmlview/forms/fake_control_host.h"
#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/tests/viewer_fakes.h"
#include "setup/htmlview/util/fake_platform.h"
#include "setup/htmlview/viewer/document_controls.h"
#include "setup/htmlview/viewer/html_viewer.h"

namespace {

using namespace htmlview;

TEST(TabOrderTest, TabIndexFirstThenSourceOrder)
{
    struct Case
    {
        const char* name;
        std::vector<int> tabIndexes;  // per stop, in source order
        std::vector<std::size_t> order;
    };
    const Case cases[] = {
        {"none given keeps source order", {0, 0, 0}, {0, 1, 2}},
        {"given ones lead, by value", {0, 3, 1}, {2, 1, 0}},
        {"equal values keep source order", {2, 2, 0, 2}, {0, 1, 3, 2}},
        {"empty", {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<Document::TabStop> stops;
        for (int index : c.tabIndexes)
            stops.push_back({nullptr, static_cast<int>(stops.size()), index});
        EXPECT_EQ(TabOrder(stops), c.order) << c.name;
    }
}

std::string FormPage()
{
    std::string page =
        "<title>Form</title><form action=\"send.htm\" method=post>"
        "<p><input name=who value=Ann tabindex=2 onfocus=\"hello()\" onchange=\"changed()\">"
        " <a href=\"other.htm\" tabindex=1>first link</a> <a href=\"#end\">plain link</a>"
        " <input type=checkbox name=c checked>";
    for (int i = 0; i < 40; ++i)
        page += "<p>filler " + std::to_string(i);
    page +=
        "<p><input name=low value=down> <input type=file name=f>"
        " <a name=end href=\"other.htm\">far link</a>"
        " <input type=submit name=go value=Send></form>";
    return page;
}

// Focus moved by the viewer is reported back, as a window's is.
class FocusReportingHost : public FakeControlHost
{
public:
    void SetFocus(int id) override
    {
        FakeControlHost::SetFocus(id);
        if (onEvent)
            onEvent(id, ControlEvent::Enter);
    }
};

class DocumentControlsTest : public ::testing::Test
{
protected:
    DocumentControlsTest()
    {
        viewer.pane.width = 400;
        viewer.pane.height = 200;
        files.files["C:\\site\\form.htm"] = FormPage();
        files.files["C:\\site\\other.htm"] = "<title>Other</title>other";
        viewer.onFormSubmit = [this](const Form::Submitted& s) { submitted.push_back(s); };
        viewer.onObjectEvent = [this](FormControl&, ObjectEvent event, const std::string& text) {
            objectEvents.push_back(std::to_string(static_cast<int>(event)) + ":" + text);
        };
    }
    // The host's control of a form control by its NAME.
    FormControl& Named(const std::string& name)
    {
        for (const auto& form : viewer.GetDocument().forms)
            for (const auto& control : form->controls)
                if (control->name == name)
                    return *control;
        throw std::runtime_error("no control " + name);
    }
    FakeControlHost::Control& Window(const std::string& name)
    {
        return host.controls.at(Named(name).control);
    }
    // Links are numbered in source order.
    static int LinkNumberOf(const std::string& text)
    {
        return text == "first" ? 0 : text == "plain" ? 1 : 2;
    }
    void PaintAll() { viewer.Paint({0, 0, viewer.pane.width, viewer.pane.height}); }
    void Raise(int id, ControlEvent event) { host.onEvent(id, event); }

    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    fakes::MemoryFiles files;
    fakes::RecordingWindow window;
    FocusReportingHost host;
    HtmlViewer viewer{{measurer, fonts, codePages, files}, window};
    std::vector<Form::Submitted> submitted;
    std::vector<std::string> objectEvents;
};

TEST_F(DocumentControlsTest, PaintingPlacesControlsInViewAndParksTheOthers)
{
    viewer.SetControlHost(&host);
    viewer.LoadFromFile("form.htm");
    PaintAll();
    EXPECT_GE(Window("who").x, 0);
    EXPECT_GE(Window("who").y, 0);
    EXPECT_EQ(Window("low").x, -4000) << "below the pane: out of sight";

    viewer.KeyDown(0x23, false, false);  // End
    PaintAll();
    EXPECT_EQ(Window("who").x, -4000) << "scrolled away: parked, not left where it was";
    EXPECT_GE(Window("low").x, 0);
    EXPECT_LT(Window("low").y, viewer.Bars().paintHeight);
    // One line up moves the controls too: the whole pane is painted again, not shifted.
    const int y = Window("low").y;
    viewer.KeyDown(0x26, false, false);  // Up
    EXPECT_TRUE(window.shifts.empty());
    PaintAll();
    EXPECT_EQ(Window("low").y, y + 16);
}

TEST_F(DocumentControlsTest, TabGoesByTabIndexThenSourceOrderThroughControlsAndLinks)
{
    viewer.SetControlHost(&host);
    viewer.LoadFromFile("form.htm");
    DocumentControls* controls = viewer.Controls();
    ASSERT_NE(controls, nullptr);
    const int first = controls->LinkStopOf(LinkNumberOf("first"));
    const int plain = controls->LinkStopOf(LinkNumberOf("plain"));
    const int farLink = controls->LinkStopOf(LinkNumberOf("far"));
    ASSERT_GE(first, 0);
    EXPECT_EQ(host.controls.at(first).kind, ControlKind::LinkStop);
    EXPECT_EQ(host.controls.at(first).x, -4000);
    const int fileEdit = Named("f").control;
    const std::vector<int> expected{first,
                                    Named("who").control,
                                    plain,
                                    Named("c").control,
                                    Named("low").control,
                                    fileEdit,
                                    fileEdit + 1,  // its browse button
                                    farLink,
                                    Named("go").control};
    EXPECT_EQ(host.tabOrder, expected);
}

TEST_F(DocumentControlsTest, FocusScrollsTheControlOrLinkIntoView)
{
    viewer.SetControlHost(&host);
    viewer.LoadFromFile("form.htm");
    const int panel = viewer.Bars().paintHeight;
    Raise(Named("low").control, ControlEvent::Enter);
    const int low = Named("low").layoutY;
    EXPECT_EQ(viewer.VerticalPosition(),
              std::min(low - panel / 2, viewer.DocumentHeight() - panel));
    EXPECT_TRUE(Named("low").active);
    // Back at the top, a control in view needs no scrolling.
    viewer.ScrollToY(0);
    Raise(Named("who").control, ControlEvent::Enter);
    EXPECT_EQ(viewer.VerticalPosition(), 0);
    EXPECT_EQ(objectEvents, std::vector<std::string>{"1:hello()"});

    // A link's stop: its pieces show the focus while it has it.
    const int farLink = viewer.Controls()->LinkStopOf(LinkNumberOf("far"));
    Raise(farLink, ControlEvent::Enter);
    EXPECT_GT(viewer.VerticalPosition(), 0);
    int focused = 0;
    for (const FontRun* run : viewer.GetDocument().links)
        focused += run->linkFocused ? 1 : 0;
    EXPECT_GT(focused, 0);
    Raise(farLink, ControlEvent::Leave);
    for (const FontRun* run : viewer.GetDocument().links)
        EXPECT_FALSE(run->linkFocused);
}

TEST_F(DocumentControlsTest, EnterOnALinkFollowsItOnceTheInputIsHandled)
{
    viewer.SetControlHost(&host);
    viewer.LoadFromFile("form.htm");
    Raise(viewer.Controls()->LinkStopOf(LinkNumberOf("first")), ControlEvent::Return);
    EXPECT_EQ(window.postedLinks, 1);
    EXPECT_EQ(viewer.Title(), "Form") << "not before the posted message";
    EXPECT_EQ(viewer.LinkUrl(), "other.htm");
    viewer.ActivateLink();  // the posted message
    EXPECT_EQ(viewer.Title(), "Other");
}

TEST_F(DocumentControlsTest, ASubmissionIsPostedAndThenRaisedWithTheFormsItems)
{
    viewer.SetControlHost(&host);
    viewer.LoadFromFile("form.htm");
    Window("who").text = u"typed";
    Raise(Named("who").control, ControlEvent::Return);  // Enter in the text box
    EXPECT_EQ(window.postedSubmits, 1);
    EXPECT_TRUE(submitted.empty()) << "raised from the posted message only";
    viewer.DeliverFormSubmit();
    ASSERT_EQ(submitted.size(), 1u);
    EXPECT_EQ(submitted[0].action, "send.htm");
    EXPECT_EQ(submitted[0].method, "post");
    EXPECT_EQ(submitted[0].items, (std::vector<std::string>{"who=typed", "c=on", "low=down", "f="}));
    viewer.DeliverFormSubmit();  // nothing waits any more
    EXPECT_EQ(submitted.size(), 1u);

    // The submit button adds its own item.
    Raise(Named("go").control, ControlEvent::Click);
    viewer.DeliverFormSubmit();
    ASSERT_EQ(submitted.size(), 2u);
    EXPECT_EQ(submitted[1].items.back(), "go=Send");

    // Nobody listening: nothing is posted.
    viewer.onFormSubmit = nullptr;
    Raise(Named("who").control, ControlEvent::Return);
    EXPECT_EQ(window.postedSubmits, 2);
}

TEST_F(DocumentControlsTest, ChangeBlurAndFileBrowseReachTheViewersEvents)
{
    viewer.SetControlHost(&host);
    viewer.LoadFromFile("form.htm");
    std::string browsed;
    viewer.onFileBrowse = [&](EditControl& edit, std::string& name) {
        browsed = edit.name + ":" + name;
        name = "C:\\chosen.txt";
    };
    Raise(Named("who").control, ControlEvent::Enter);
    Window("who").text = u"Bob";
    Raise(Named("who").control, ControlEvent::Leave);
    EXPECT_EQ(objectEvents, (std::vector<std::string>{"1:hello()", "3:changed()"}));
    Raise(Named("f").control + 1, ControlEvent::Click);
    EXPECT_EQ(browsed, "f:");
    EXPECT_EQ(Window("f").text, u"C:\\chosen.txt");
}

TEST_F(DocumentControlsTest, TheHistoryKeepsWhatWasTypedInAPageThatWasLeft)
{
    viewer.History().SetMaxCount(5);
    viewer.SetControlHost(&host);
    viewer.LoadFromFile("form.htm");
    Window("who").text = u"typed";
    viewer.LoadFromFile("other.htm");
    const auto& entries = viewer.History().Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].file, "C:\\site\\form.htm");
    ASSERT_EQ(entries[1].formValues.size(), 1u);
    EXPECT_EQ(entries[1].formValues[0][0], "typed");
    EXPECT_TRUE(entries[0].formValues.empty());
    // Only the shown page's controls are left in the host.
    EXPECT_TRUE(host.controls.empty());
}

TEST_F(DocumentControlsTest, AHostArrivingLateBuildsThePageAgainQuietlyKeepingItsPlace)
{
    int parseEnds = 0, metas = 0;
    viewer.onParseEnd = [&] { ++parseEnds; };
    viewer.onMeta = [&](const std::string&, const std::string&, const std::string&) { ++metas; };
    files.files["C:\\site\\form.htm"] = "<meta name=a content=b>" + FormPage();
    viewer.GetDocument().imagesShown = false;  // images off, as the pane's setting says
    viewer.LoadFromFile("form.htm");
    EXPECT_FALSE(viewer.GetDocument().imagesShown) << "a new page keeps the setting";
    EXPECT_TRUE(viewer.GetDocument().forms.empty()) << "no host: no controls";
    viewer.ScrollToY(100);
    viewer.SetControlHost(&host);
    EXPECT_EQ(parseEnds, 1);
    EXPECT_EQ(metas, 1);
    EXPECT_EQ(viewer.VerticalPosition(), 100);
    EXPECT_FALSE(viewer.GetDocument().imagesShown);
    ASSERT_NE(viewer.Controls(), nullptr);
    EXPECT_EQ(Window("who").text, u"Ann");

    // Another host takes over what was typed; the first one is left with nothing.
    Window("who").text = u"typed";
    host.SetChecked(Named("c").control, false);
    FakeControlHost second;
    viewer.SetControlHost(&second);
    EXPECT_TRUE(host.controls.empty());
    EXPECT_EQ(second.controls.at(Named("who").control).text, u"typed");
    EXPECT_FALSE(second.controls.at(Named("c").control).checked);
    viewer.SetControlHost(nullptr);
    EXPECT_TRUE(second.controls.empty());
    EXPECT_EQ(viewer.Title(), "Form");
}

TEST_F(DocumentControlsTest, AClickOnALinkFocusesItsStopWithoutScrolling)
{
    viewer.SetControlHost(&host);
    files.files["C:\\site\\form.htm"] = FormPage() + "<p><a href=\"none.txt\">text link</a>";
    viewer.LoadFromFile("form.htm");
    viewer.KeyDown(0x23, false, false);  // End
    viewer.KeyDown(0x26, false, false);  // Up: the link near the bottom edge, yet in view
    const int shown = viewer.VerticalPosition();
    PaintAll();
    Document& document = viewer.GetDocument();
    bool clicked = false;
    for (int y = 0; y < viewer.Bars().paintHeight && !clicked; y += 2)
        for (int x = 0; x < 400 && !clicked; x += 3) {
            LinkHit hit;
            if ((document.HitLink(x, y + shown, hit) & kHitLink) && hit.target.url == "none.txt") {
                viewer.MouseDown(MouseButton::Left, false, x, y);
                viewer.MouseUp(MouseButton::Left, false, x, y);
                clicked = true;
            }
        }
    ASSERT_TRUE(clicked);
    const int stop = viewer.Controls()->LinkStopOf(document.links.back()->link.linkNumber);
    EXPECT_TRUE(host.controls.at(stop).focused);
    EXPECT_EQ(viewer.VerticalPosition(), shown) << "a clicked link is where the mouse is";
}

}  // namespace
