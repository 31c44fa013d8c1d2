// The HTML pane without a window: its published settings keep their bounds, and the viewer's
// events reach the handlers a page assigns to the pane.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "setup/forms/class_builder.h"
#include "setup/htmlview/tests/text_position.h"
#include "setup/ui/form.h"
#include "setup/ui/html_pane.h"

namespace setup::ui::testing {
namespace {

TEST(HtmlPaneSettings, ValuesAreKeptInTheirBounds)
{
    THtmlPane pane(nullptr);
    struct Case
    {
        std::int32_t cache, expectedCache;
        double scale, expectedScale;
        const char* root;
        const char* expectedRoot;
        std::int32_t visited, expectedVisited;
    };
    const Case cases[] = {
        {50, 20, 10.0, 4.0, "  C:\\site\\ ", "C:\\site", -1, 0},
        {-3, 0, 0.1, 0.25, "\\\\server\\share", "\\\\server\\share", 7, 7},
        {7, 7, 2.5, 2.5, "", "", 50, 50},
    };
    for (const Case& c : cases) {
        pane.SetImageCacheCount(c.cache);
        pane.SetPrintScale(c.scale);
        pane.SetServerRoot(c.root);
        pane.SetVisitedMaxCount(c.visited);
        EXPECT_EQ(pane.ImageCacheCount(), c.expectedCache);
        EXPECT_EQ(pane.PrintScale(), c.expectedScale);
        EXPECT_EQ(pane.ServerRoot(), c.expectedRoot);
        EXPECT_EQ(pane.VisitedMaxCount(), c.expectedVisited);
    }
}

// A page with handlers for the pane's document events.
class PaneEventPage : public TForm
{
public:
    FORMS_CLASS_INFO()
    PaneEventPage() : TForm(nullptr) {}
    void Progress(TObject*, ThtProgressStage stage, std::int32_t percent)
    {
        log.push_back("progress " + std::to_string(stage) + " " + std::to_string(percent));
    }
    void ParseBegin(TObject*, std::string& source) { source += "<p>from the handler</p>"; }
    void Include(TObject*, const std::string& command, const std::vector<std::string>&,
                 std::string& text)
    {
        text = "included " + command;
    }
    void Script(TObject*, const std::string&, const std::string& language, const std::string& text)
    {
        log.push_back("script " + language + " " + text);
    }
    void Sheet(TObject*, const std::string& source, std::optional<std::string>& stream)
    {
        log.push_back("sheet " + source);
        stream = "body { background-color: #0000ff }";
    }
    template <class Event>
    void Handle(Event& event, const char* method)
    {
        static_cast<forms::TMethod&>(event) = {StaticClass().FindMethod(method), this};
    }
    std::vector<std::string> log;
};

const forms::ClassInfo& PaneEventPage::StaticClass()
{
    using P = PaneEventPage;
    static const forms::ClassInfo info =
        forms::ClassBuilder<P>("TPaneEventPage", &TForm::StaticClass())
            .Method("Progress", &P::Progress)
            .Method("ParseBegin", &P::ParseBegin)
            .Method("Include", &P::Include)
            .Method("Script", &P::Script)
            .Method("Sheet", &P::Sheet)
            .Build();
    return info;
}

TEST(HtmlPaneEvents, DocumentEventsReachThePagesHandlers)
{
    PaneEventPage page;
    THtmlPane pane(nullptr);
    page.Handle(pane.onProgress, "Progress");
    page.Handle(pane.onParseBegin, "ParseBegin");
    page.Handle(pane.onInclude, "Include");
    page.Handle(pane.onScript, "Script");
    page.Handle(pane.onhtStreamRequest, "Sheet");
    pane.LoadDocumentString(
        "<link rel=stylesheet href=look.css><script language=VBScript>run</script>"
        "<p><!--#date--></p>",
        "", 0);
    htmlview::Document& document = pane.Viewer().GetDocument();
    EXPECT_GE(htmlview::fixtures::PositionOfText(document, u"included date"), 0);
    EXPECT_GE(htmlview::fixtures::PositionOfText(document, u"from the handler"), 0);
    ASSERT_GE(page.log.size(), 4u);
    EXPECT_EQ(page.log.front(), "progress 0 0");
    EXPECT_EQ(page.log.back(), "progress 2 100");
    EXPECT_NE(std::find(page.log.begin(), page.log.end(), "sheet look.css"), page.log.end());
    EXPECT_NE(std::find(page.log.begin(), page.log.end(), "script VBScript run"), page.log.end());

    // Unassigned, the pane reads the sheet's file and leaves includes out.
    pane.onhtStreamRequest = {};
    pane.onInclude = {};
    page.log.clear();
    pane.LoadDocumentString("<link rel=stylesheet href=missing.css><p>a<!--#date-->b</p>", "", 0);
    EXPECT_EQ(std::find(page.log.begin(), page.log.end(), "sheet missing.css"), page.log.end());
    EXPECT_LT(htmlview::fixtures::PositionOfText(pane.Viewer().GetDocument(), u"included"), 0);
}

}  // namespace
}  // namespace setup::ui::testing
