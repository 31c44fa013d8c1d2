// Pages bound to variables with no display: the class table both ways, the Tag roles, the
// templates, the caption suffix, the pool's keys and loads, the modal loop driven by clicks and
// the end-of-text mark.
#include <gtest/gtest.h>

#include <fstream>

#include "setup/engine/script/setup_messages.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/file_controls.h"
#include "setup/ui/html_pane.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/flash/flash_frame.h"
#include "setup/ui/vista_glass.h"
#include "setup/ui/skin/bmp_button.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/wizard/dialog_pool.h"
#include "setup/wizard/page_binding.h"
#include "setup/wizard/page_decisions.h"
#include "setup/wizard/pool_template.h"
#include "setup/wizard/tests/wizard_fixture.h"

namespace setup::wizard::testing {
namespace {

constexpr const char* kBindingPage = R"(object BindingPage: TPoolTemplate
  Caption = 'Setup of $TITLE$'
  ClientHeight = 300
  ClientWidth = 420
  object Label1: TLabel
    Caption = 'Install $TITLE$'
  end
  object TargetEdit: TEdit
    Tag = 2
    Text = ''
  end
  object NameEdit: TEdit
    Hint = 'NAME'
    Text = 'typed before'
  end
  object TemplateEdit: TEdit
    Text = '$TITLE$ stays'
  end
  object Option: TSkCheckBox
    Hint = 'OPTION'
    Caption = 'Option of $TITLE$'
  end
  object ListBox1: TListBox
    Hint = 'CHOICE'
    Items.Strings = (
      'One'
      ''
      'Two')
  end
  object ComboBox1: TComboBox
    Hint = 'FLAVOUR'
    Style = csDropDownList
    Items.Strings = (
      'Red'
      'Green')
  end
  object Progress: TProgressBar
    Tag = 1
  end
  object Status: TStaticText
    Tag = 1
    Caption = 'idle'
  end
  object NextButton: TButton
    Tag = 1
    Caption = '&Next >'
  end
  object BackButton: TButton
    Tag = 2
    Caption = '< &Back'
  end
  object CancelButton: TButton
    Tag = 3
    Caption = 'Cancel'
  end
  object NamedButton: TButton
    Tag = 5
    Caption = 'Custom'
  end
  object BrowseButton: TButton
    Tag = 4
    Caption = 'Browse'
  end
end
)";

constexpr const char* kLicencePage = R"(object LicencePage: TPoolTemplate
  Caption = 'Licence'
  object Licence: TMemo
    Tag = 2
    ScrollBars = ssVertical
  end
  object Short: TMemo
    Lines.Strings = (
      'fits')
  end
  object NextButton: TButton
    Tag = 1
    Caption = '&Next >'
    Enabled = False
  end
  object Timer1: TVistaGlass
  end
end
)";

class PageBindingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.engine.Variables.Set("TITLE", "Wipestation", "test");
        run.engine.Variables.Set("TARGETDIR", "C:\\\\Program Files\\\\Vontar", "test");
        page = &LoadDialog(run.runtime, "0",
                           WritePageFile(run.folder, "Binding", kBindingPage, {}));
    }
    template <class T>
    T& Control(const std::string& name)
    {
        auto* control = dynamic_cast<T*>(page->FindComponent(name));
        if (!control)
            throw std::runtime_error("no control " + name);
        return *control;
    }
    std::string Var(const std::string& name) { return run.engine.Variables.Get(name); }

    WizardRun run;
    TPoolTemplate* page = nullptr;
};

TEST_F(PageBindingTest, FillsControlsFromTemplatesAndVariables)
{
    run.engine.Variables.Set("NAME", "Ada", "test");
    run.engine.Variables.Set("OPTION", "-1", "test");
    run.engine.Variables.Set("CHOICE", "two", "test");
    run.engine.Variables.Set("FLAVOUR", "Blue", "test");
    run.engine.Variables.Set("PROGRESSTEXT", "copying", "test");
    PrepareDialog(run.runtime, "0");

    EXPECT_EQ(Control<ui::TLabel>("Label1").Caption(), "Install Wipestation");
    // An empty unbound Tag-2 edit shows the target folder, doubled backslashes collapsed.
    EXPECT_EQ(Control<ui::TEdit>("TargetEdit").Text(), "C:\\Program Files\\Vontar");
    EXPECT_EQ(Control<ui::TEdit>("NameEdit").Text(), "Ada");
    // A non-empty template on an unbound edit is shown unexpanded.
    EXPECT_EQ(Control<ui::TEdit>("TemplateEdit").Text(), "$TITLE$ stays");
    EXPECT_TRUE(Control<ui::skin::TSkCheckBox>("Option").Checked());
    EXPECT_EQ(Control<ui::skin::TSkCheckBox>("Option").Caption(), "Option of Wipestation");
    auto& list = Control<ui::TListBox>("ListBox1");
    EXPECT_EQ(list.Items()->Count(), 2u);  // the empty item is gone
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(Control<ui::TComboBox>("ComboBox1").ItemIndex(), -1);  // no item matches
    EXPECT_EQ(Control<ui::TStaticText>("Status").Caption(), "copying");
    // Binding writes nothing back.
    EXPECT_EQ(Var("NAME"), "Ada");
    EXPECT_EQ(Var("OPTION"), "-1");
}

TEST_F(PageBindingTest, UserInputReachesTheHintVariables)
{
    PrepareDialog(run.runtime, "0");
    Control<ui::TEdit>("NameEdit").SetText("Grace");
    EXPECT_EQ(Var("NAME"), "Grace");
    auto& option = Control<ui::skin::TSkCheckBox>("Option");
    option.SetChecked(true);
    option.Click();
    EXPECT_EQ(Var("OPTION"), "TRUE");
    auto& list = Control<ui::TListBox>("ListBox1");
    list.SetItemIndex(0);
    list.Click();
    EXPECT_EQ(Var("CHOICE"), "One\r\n");
    auto& combo = Control<ui::TComboBox>("ComboBox1");
    combo.ItemIndexFromWindow(1);
    EXPECT_EQ(Var("FLAVOUR"), "Green");

    // Released, the controls keep their values and write no more.
    ReleaseDialog(run.runtime, "0");
    Control<ui::TEdit>("NameEdit").SetText("Linus");
    EXPECT_EQ(Var("NAME"), "Grace");
}

TEST_F(PageBindingTest, ListValuesSelectOnlyAWholeItem)
{
    run.engine.Variables.Set("CHOICE", "One\r\nTwo\r\n", "test");
    run.engine.Variables.Set("FLAVOUR", "GREEN", "test");
    PrepareDialog(run.runtime, "0");
    EXPECT_EQ(Control<ui::TListBox>("ListBox1").ItemIndex(), -1);
    EXPECT_EQ(Control<ui::TComboBox>("ComboBox1").ItemIndex(), 1);
}

TEST_F(PageBindingTest, ProgressValuesClamp)
{
    const std::pair<const char*, int> cases[] = {{"101", 100}, {"-1", 0}, {"x", 100}, {"42", 42}};
    for (const auto& [value, position] : cases) {
        run.engine.Variables.Set("PROGRESS", value, "test");
        PrepareDialog(run.runtime, "0");
        EXPECT_EQ(Control<ui::TProgressBar>("Progress").Position(), position) << value;
    }
}

TEST_F(PageBindingTest, SecondPreparationStartsFromTheTemplate)
{
    PrepareDialog(run.runtime, "0");
    Control<ui::TEdit>("TemplateEdit").SetText("changed by the user");
    run.engine.Variables.Set("TITLE", "Other", "test");
    PrepareDialog(run.runtime, "0");
    EXPECT_EQ(Control<ui::TEdit>("TemplateEdit").Text(), "$TITLE$ stays");
    EXPECT_EQ(Control<ui::TLabel>("Label1").Caption(), "Install Other");
    EXPECT_EQ(GetDialogText(run.runtime, "binding.DFM", "label1"), "Install $TITLE$");
}

TEST_F(PageBindingTest, CaptionGetsTheSuffixOnceOrLosesItWithTheLogoSwitch)
{
    const std::string suffix = engine::GetWizardCaptionSuffix();
    for (int i = 0; i < 3; ++i)
        PrepareDialog(run.runtime, "0");
    EXPECT_EQ(page->Caption(), "Setup of Wipestation" + suffix);
    run.engine.Variables.Set("TARQLOGO", "true", "test");
    PrepareDialog(run.runtime, "0");
    EXPECT_EQ(page->Caption(), "Setup of Wipestation");
}

TEST_F(PageBindingTest, ButtonsSetResultsByTag)
{
    PrepareDialog(run.runtime, "0");
    struct Case
    {
        const char* button;
        bool answerYes;
        int result;
        bool cancelled;
    };
    const Case cases[] = {
        {"NextButton", true, 6, false},  {"BackButton", true, 7, false},
        {"NamedButton", true, 8, false}, {"CancelButton", false, -1, false},
        {"CancelButton", true, 2, true},
    };
    for (const Case& c : cases) {
        run.runtime.CancelFlag() = false;
        run.system.answerYes = c.answerYes;
        Control<ui::TButton>(c.button).Click();
        EXPECT_EQ(page->resultCode, c.result) << c.button;
        EXPECT_EQ(run.runtime.CancelFlag(), c.cancelled) << c.button;
    }
    EXPECT_EQ(page->resultText, "NamedButton");
    EXPECT_EQ(run.system.questions.back(), "Are you sure you want to cancel?");
    EXPECT_FALSE(Control<ui::TButton>("CancelButton").Enabled());
}

TEST_F(PageBindingTest, BrowseKeepsTheTargetTailUnderTheChosenFolder)
{
    run.engine.Variables.Set("TARGETDIR", "C:\\Program Files\\App\\Main", "test");
    run.system.folders = {"C:", "C:\\Program Files"};
    PrepareDialog(run.runtime, "0");
    page->FormShow(page);
    for (const auto& [chosen, text] : {std::pair{"D:\\Apps", "D:\\Apps\\App\\Main"},
                                       std::pair{"C:\\", "C:\\Program Files\\App\\Main"},
                                       std::pair{"C:\\Pro", "C:\\Pro\\App\\Main"}}) {
        run.system.browsed = chosen;
        Control<ui::TButton>("BrowseButton").Click();
        EXPECT_EQ(Control<ui::TEdit>("TargetEdit").Text(), text) << chosen;
    }
}

TEST_F(PageBindingTest, HotSpotsStartProgramsByAQuotedPath)
{
    const auto expand = [](const std::string& path) { return "C:\\Documents and Settings\\" + path; };
    EXPECT_TRUE(page->HotSpotClick("setup.exe /quiet", expand));
    EXPECT_TRUE(page->HotSpotClick("chime.wav", expand));
    EXPECT_TRUE(page->HotSpotClick("http://example.com/", expand));
    EXPECT_FALSE(page->HotSpotClick("next.htm", expand));
    EXPECT_FALSE(page->HotSpotClick("https://example.com/", expand));
    EXPECT_EQ(run.system.actions,
              (std::vector<std::string>{"start \"C:\\Documents and Settings\\setup.exe\" /quiet",
                                        "sound C:\\Documents and Settings\\chime.wav",
                                        "open http://example.com/"}));
}

TEST(FolderControls, ShowTheirFolderAndMoveTheTargetEdits)
{
    WizardRun run;
    run.system.folders = {"C:", "C:\\Program Files", "D:", "D:\\Data"};
    run.engine.Variables.Set("TARGETDIR", "C:\\Program Files\\App", "test");
    run.engine.Variables.Set("FOLDER", "D:\\Data", "test");
    TPoolTemplate& page = LoadDialog(run.runtime, "0", WritePageFile(run.folder, "Folders", R"(object Folders: TPoolTemplate
  object Folders1: TDirectoryListBox
    Tag = 1
  end
  object Bound: TDirectoryListBox
    Hint = 'FOLDER'
  end
  object Drives: TDriveComboBox
    Hint = 'FOLDER'
  end
  object TargetEdit: TEdit
    Tag = 2
  end
end
)", {}));
    PrepareDialog(run.runtime, "0");
    page.FormShow(&page);
    auto& tagged = dynamic_cast<ui::TDirectoryListBox&>(*page.FindComponent("Folders1"));
    EXPECT_EQ(tagged.Directory(), "C:\\Program Files");  // the nearest existing target folder
    EXPECT_EQ(dynamic_cast<ui::TDirectoryListBox&>(*page.FindComponent("Bound")).Directory(),
              "D:\\Data");
    EXPECT_EQ(dynamic_cast<ui::TDriveComboBox&>(*page.FindComponent("Drives")).Drive(), 'D');
    // The user opens another folder: the target edits keep the missing tail under it.
    tagged.SetDirectory("D:\\Data");
    EXPECT_EQ(dynamic_cast<ui::TEdit&>(*page.FindComponent("TargetEdit")).Text(), "D:\\Data\\App");
}

TEST(DialogPool, KeysIgnoreCaseAndASecondLoadReplacesThePage)
{
    WizardRun run;
    const std::string first = WritePageFile(run.folder, "First", kLicencePage, {});
    const std::string second = WritePageFile(run.folder, "Second", kBindingPage, {});
    LoadDialog(run.runtime, "temp", first);
    LoadDialog(run.runtime, "TEMP", second);
    ASSERT_EQ(run.runtime.pool.size(), 1u);
    TPoolTemplate* page = FindDialog(run.runtime, "Temp");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Hint(), "Second.dfm");
    EXPECT_EQ(FindDialog(run.runtime, "other"), nullptr);
}

TEST(DialogPool, AMissingRulesFileFailsTheLoad)
{
    WizardRun run;
    const std::string path = WritePageFile(run.folder, "NoRules", kLicencePage, {});
    std::filesystem::remove(path + ".qbrf");
    EXPECT_ANY_THROW(LoadDialog(run.runtime, "1", path));
}

TEST(DialogPool, ModalPagesReturnWhatTheirButtonsSay)
{
    WizardRun run;
    run.system.folders.insert("C:\\start");
    const std::string path = WritePageFile(run.folder, "Binding", kBindingPage, {});
    TPoolTemplate& page = LoadDialog(run.runtime, "0", path);
    TPoolTemplate& other = LoadDialog(run.runtime, "1", path);
    const auto click = [](TPoolTemplate& on, const char* name) {
        return [&on, name] { dynamic_cast<ui::TButton*>(on.FindComponent(name))->Click(); };
    };
    struct Case
    {
        TPoolTemplate* page;
        const char* key;
        const char* button;
        bool answerYes;
        int result;
    };
    const Case cases[] = {
        {&page, "0", "NextButton", true, 6},
        {&other, "1", "BackButton", true, 7},
        {&page, "0", "NamedButton", true, 8},
    };
    for (const Case& c : cases) {
        PrepareDialog(run.runtime, c.key);
        run.system.answerYes = c.answerYes;
        run.loop.steps.push_back(click(*c.page, c.button));
        const ShownDialog shown = ShowDialog(run.runtime, c.key, true, false);
        EXPECT_EQ(shown.result, c.result) << c.button;
        EXPECT_TRUE(c.page->Visible());
        ReleaseDialog(run.runtime, c.key);
    }
    // The hand-over: the page shown last is up, the one before it is hidden.
    EXPECT_FALSE(other.Visible());
    // Cancel answered No keeps the page waiting; then Yes ends it.
    PrepareDialog(run.runtime, "1");
    run.system.answerYes = false;
    run.loop.steps.push_back(click(other, "CancelButton"));
    run.loop.steps.push_back([&run] { run.system.answerYes = true; });
    run.loop.steps.push_back(click(other, "CancelButton"));
    EXPECT_EQ(ShowDialog(run.runtime, "1", true, false).result, 2);
    EXPECT_EQ(run.system.questions.size(), 2u);
    EXPECT_EQ(run.runtime.CancelFlag(), true);
    EXPECT_EQ(run.system.current, "C:\\start");  // the folder is current again
}

TEST(DialogPool, PagesOfOneSizeGoWhereTheUserLeftThePreviousOne)
{
    WizardRun run;
    const std::string same = WritePageFile(run.folder, "Binding", kBindingPage, {});
    TPoolTemplate* pages[] = {&LoadDialog(run.runtime, "0", same), &LoadDialog(run.runtime, "1", same),
                              &LoadDialog(run.runtime, "2", WritePageFile(run.folder, "Licence",
                                                                          kLicencePage, {}))};
    const auto next = [&](int index) {
        run.loop.steps.push_back([&run, page = pages[index], index] {
            page->resultCode = 6;
            if (index == 0)
                run.system.moved = PagePosition{10, 20};  // the user dragged it meanwhile
        });
        PrepareDialog(run.runtime, std::to_string(index));
        return ShowDialog(run.runtime, std::to_string(index), true, false).result;
    };
    EXPECT_EQ(next(0), 6);
    EXPECT_EQ(pages[0]->Left(), 10);
    run.system.moved.reset();
    EXPECT_EQ(next(1), 6);
    const int secondLeft = pages[1]->Left();
    EXPECT_EQ(next(2), 6);
    // The second page came up where the first was left; the third, of another size, centred.
    EXPECT_EQ(secondLeft, 10);
    EXPECT_EQ(pages[2]->Left(), (1024 - pages[2]->Width()) / 2);
    EXPECT_EQ(pages[2]->Top(), (768 - pages[2]->Height()) / 2);
}

TEST(DialogPool, SilentRunsAnswerNextWithoutAWindowAndRestoreTheFolder)
{
    WizardRun run;
    run.system.folders.insert("C:\\start");
    LoadDialog(run.runtime, "0", WritePageFile(run.folder, "Binding", kBindingPage, {}));
    run.engine.Variables.SilentMode = true;
    PrepareDialog(run.runtime, "0");
    EXPECT_EQ(ShowDialog(run.runtime, "0", true, false).result, 6);
    EXPECT_TRUE(run.peers.created.empty());
    EXPECT_EQ(run.system.current, "C:\\start");
}

TEST(DialogPool, NonModalPagesReturnTheirWindowAndGiveWayToTheNextPage)
{
    WizardRun run;
    const std::string path = WritePageFile(run.folder, "Binding", kBindingPage, {});
    TPoolTemplate& progress = LoadDialog(run.runtime, "0", path);
    TPoolTemplate& finish = LoadDialog(run.runtime, "1", path);
    PrepareDialog(run.runtime, "0");
    const ShownDialog shown = ShowDialog(run.runtime, "0", false, false);
    EXPECT_NE(shown.window, 0u);
    EXPECT_TRUE(progress.Visible());
    PrepareDialog(run.runtime, "1");
    run.loop.steps.push_back(
        [&finish] { dynamic_cast<ui::TButton*>(finish.FindComponent("NextButton"))->Click(); });
    EXPECT_EQ(ShowDialog(run.runtime, "1", true, false).result, 6);
    EXPECT_FALSE(progress.Visible());
    EXPECT_TRUE(finish.Visible());
    // A shown page refuses to close.
    EXPECT_FALSE(finish.CloseQuery());
    HideDialog(run.runtime, "temp");
    EXPECT_FALSE(finish.Visible());
}

// The licence page bound, its Next enabled by the rule once the licence is marked read.
TPoolTemplate& PreparedLicencePage(WizardRun& run)
{
    const std::vector<std::string> rules = {
        "IF (Licence.MaxLength = 2147483647)  THEN  NextButton.Enabled := True;"};
    TPoolTemplate& page =
        LoadDialog(run.runtime, "0", WritePageFile(run.folder, "Licence", kLicencePage, rules));
    PrepareDialog(run.runtime, "0");
    return page;
}

TEST(EndOfText, LicenceNextEnablesOnlyOnceTheTextIsReadToTheEnd)
{
    WizardRun run;
    std::ofstream(run.folder / "license.txt") << "line\r\nline\r\nline\r\n";
    TPoolTemplate& page = PreparedLicencePage(run);
    auto& licence = dynamic_cast<ui::TMemo&>(*page.FindComponent("Licence"));
    auto& next = dynamic_cast<ui::TButton&>(*page.FindComponent("NextButton"));
    EXPECT_EQ(licence.Lines()->Text().substr(0, 4), "line");
    EXPECT_EQ(licence.MaxLength(), 1048576);
    EXPECT_EQ(page.trackedMemo.control, &licence);  // the first read-only memo is tracked
    EXPECT_FALSE(next.Enabled());

    run.system.scroll[&licence] = {0, 99, 20, 0};
    run.loop.steps.push_back([&] {
        run.system.watched.at(&licence)(0x0100);  // a key went down: still at the top
        EXPECT_FALSE(next.Enabled());
        run.system.scroll[&licence] = {0, 99, 20, 80};
        run.system.watched.at(&licence)(0x0100);  // Ctrl+End
        EXPECT_TRUE(next.Enabled());
        next.Click();
    });
    EXPECT_EQ(ShowDialog(run.runtime, "0", true, false).result, 6);
    EXPECT_EQ(licence.MaxLength(), 2147483647);
}

TEST(EndOfText, ALicenceThatFitsCountsAsReadWhenShown)
{
    WizardRun run;
    TPoolTemplate& page = PreparedLicencePage(run);
    auto& licence = dynamic_cast<ui::TMemo&>(*page.FindComponent("Licence"));
    // No licence file: the explanation stands in for it.
    EXPECT_EQ(licence.Lines()->Text().rfind("Add a license..txt or license.txt file", 0), 0u);
    run.system.scroll[&licence] = {0, 0, 0, 0};
    run.loop.steps.push_back([&] {
        EXPECT_TRUE(dynamic_cast<ui::TButton&>(*page.FindComponent("NextButton")).Enabled());
        dynamic_cast<ui::TButton&>(*page.FindComponent("NextButton")).Click();
    });
    EXPECT_EQ(ShowDialog(run.runtime, "0", true, false).result, 6);
}

}  // namespace
}  // namespace setup::wizard::testing

namespace setup::wizard::testing {
namespace {

constexpr const char* kHtmlPage = R"(object IndexPage: TPoolTemplate
  Caption = 'Index'
  object Viewer: THtmlPane
    Tag = 1
    Width = 300
    Height = 200
  end
end
)";

// The HTML pane with Tag 1 shows the support folder's index page, whose local links the page
// plays, starts or leaves to the viewer; without an index it explains what is missing.
TEST(HtmlPaneBinding, TheIndexPageIsShownAndItsLinksHandled)
{
    WizardRun run;
    std::ofstream(run.folder / "index.htm")
        << "<title>Sample index</title><p>Hello <a href=\"tune.wav\">tune</a></p>";
    LoadDialog(run.runtime, "0", WritePageFile(run.folder, "Index", kHtmlPage, {}));
    PrepareDialog(run.runtime, "0");
    auto& pane =
        dynamic_cast<ui::THtmlPane&>(*FindDialog(run.runtime, "0")->FindComponent("Viewer"));
    EXPECT_EQ(pane.GetDocumentTitle(), "Sample index");
    EXPECT_NE(pane.GetCurrentFile().find("index.htm"), std::string::npos);
    pane.Viewer().SetLink("tune.wav", "");
    pane.ActivateLink();
    ASSERT_EQ(run.system.actions.size(), 1u);
    EXPECT_EQ(run.system.actions[0].substr(0, 6), "sound ");
    EXPECT_NE(run.system.actions[0].find("tune.wav"), std::string::npos);

    WizardRun empty;
    LoadDialog(empty.runtime, "0", WritePageFile(empty.folder, "Index", kHtmlPage, {}));
    PrepareDialog(empty.runtime, "0");
    auto& shown =
        dynamic_cast<ui::THtmlPane&>(*FindDialog(empty.runtime, "0")->FindComponent("Viewer"));
    EXPECT_EQ(shown.GetCurrentFile(), "");
    shown.Viewer().SelectAll();
    EXPECT_EQ(shown.Viewer().SelectedText().size(), kMissingIndexText.size());
}

// A document's refresh loads its target beside the pages once the page's meta timer fires,
// unless the pane shows another document by then; a refresh to a missing file arms nothing.
TEST(HtmlPaneBinding, AMetaRefreshLoadsItsTargetAfterTheDelay)
{
    struct Case
    {
        const char* content;
        std::uint32_t interval;  // 0: not armed
        bool leftBeforeTick;
        const char* titleAfter;
    };
    const Case cases[] = {
        {"3;url=next%20page.htm", 3000, false, "Next page"},
        {"0; URL=next%20page.htm", 1000, false, "Next page"},
        {"3;url=next%20page.htm", 3000, true, "Elsewhere"},
        {"3;url=missing.htm", 0, false, "Sample index"},
    };
    for (const Case& c : cases) {
        WizardRun run;
        run.runtime.htmlBaseFolder = (run.folder / "").string();
        std::ofstream(run.folder / "index.htm")
            << "<title>Sample index</title><meta http-equiv=\"Refresh\" content=\"" << c.content
            << "\"><p>Hello</p>";
        std::ofstream(run.folder / "next page.htm") << "<title>Next page</title><p>Next</p>";
        std::ofstream(run.folder / "other.htm") << "<title>Elsewhere</title><p>Other</p>";
        LoadDialog(run.runtime, "0", WritePageFile(run.folder, "Index", kHtmlPage, {}));
        PrepareDialog(run.runtime, "0");
        TPoolTemplate& page = *FindDialog(run.runtime, "0");
        auto& pane = dynamic_cast<ui::THtmlPane&>(*page.FindComponent("Viewer"));
        ASSERT_EQ(page.metaTimer->Enabled(), c.interval > 0) << c.content;
        if (c.interval == 0) {
            EXPECT_EQ(pane.GetDocumentTitle(), c.titleAfter);
            continue;
        }
        EXPECT_EQ(page.metaTimer->Interval(), c.interval) << c.content;
        if (c.leftBeforeTick)
            pane.LoadFromFile((run.folder / "other.htm").string());
        page.metaTimer->GetOnTimer()(&page);
        EXPECT_FALSE(page.metaTimer->Enabled());
        EXPECT_EQ(pane.GetDocumentTitle(), c.titleAfter) << c.content;
        if (!c.leftBeforeTick) {
            EXPECT_EQ(page.Caption(), "Next page");
        }
    }
}

}  // namespace
}  // namespace setup::wizard::testing
