// Tier A: the page fixture loads with no display into a component tree whose every property
// reads back as stored, and no control made a window.
#include <gtest/gtest.h>

#include <set>

#include "setup/forms/property_text.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/test_page.h"

namespace setup::ui::testing {
namespace {

// The text of a property by its dotted path, as the page rules read it.
std::string PropertyText(TTestPage& page, const std::string& component, const std::string& path)
{
    forms::TPersistent* target = component == page.Name() ? &page : page.FindComponent(component);
    if (!target)
        return "<no component " + component + ">";
    std::string rest = path;
    for (std::size_t dot; (dot = rest.find('.')) != std::string::npos;) {
        const forms::PropInfo* info = target->ClassType().FindProperty(rest.substr(0, dot));
        if (!info)
            return "<no property " + rest.substr(0, dot) + ">";
        target = dynamic_cast<forms::TPersistent*>(std::get<forms::TObject*>(info->get(*target)));
        rest = rest.substr(dot + 1);
    }
    const forms::PropInfo* info = target->ClassType().FindProperty(rest);
    if (!info)
        return "<no property " + rest + ">";
    return forms::GetPropertyText(*target, *info, {&page, {}});
}

class PageFormTest : public ::testing::Test
{
protected:
    void SetUp() override { LoadPage(EveryControlText(UI_TEST_DATA), page, &errors); }
    TTestPage page;
    std::vector<std::string> errors;
};

TEST_F(PageFormTest, LoadsOneOfEveryPageClassWithoutAWindow)
{
    // The one property the fixture carries that no class publishes is skipped and reported.
    ASSERT_EQ(errors.size(), 1u) << ::testing::PrintToString(errors);
    EXPECT_NE(errors[0].find("ExplicitWidth"), std::string::npos) << errors[0];

    std::set<std::string> classes;
    for (std::size_t i = 0; i < page.ComponentCount(); ++i) {
        classes.insert(page.Component(i)->ClassName());
        if (auto* control = dynamic_cast<TWinControl*>(page.Component(i))) {
            EXPECT_FALSE(control->HandleAllocated()) << control->Name();
        }
    }
    for (const forms::ClassInfo* info : PageClasses())
        EXPECT_TRUE(classes.count(info->Name())) << info->Name();
    EXPECT_FALSE(page.HandleAllocated());
}

TEST_F(PageFormTest, NestsControlsInTheirParentsInFileOrder)
{
    auto* group = dynamic_cast<TGroupBox*>(page.FindComponent("GroupBox1"));
    auto* panel = dynamic_cast<TPanel*>(page.FindComponent("Panel1"));
    auto* pages = dynamic_cast<TPageControl*>(page.FindComponent("PageControl1"));
    ASSERT_TRUE(group && panel && pages);
    EXPECT_EQ(group->Controls().size(), 1u);
    ASSERT_EQ(panel->Controls().size(), 2u);
    EXPECT_EQ(panel->Controls()[0]->Name(), "SkRadioButton1");
    ASSERT_EQ(pages->Pages().size(), 2u);
    EXPECT_EQ(pages->Pages()[1]->Name(), "TabSheet2");
    EXPECT_EQ(pages->ActivePage(), pages->Pages()[1]);
    EXPECT_FALSE(pages->Pages()[0]->Visible());
    EXPECT_TRUE(pages->Pages()[1]->Visible());
    // Every owned component belongs to the page, whatever its parent.
    EXPECT_EQ(dynamic_cast<TControl*>(page.FindComponent("Label2"))->Parent(), pages->Pages()[0]);
}

TEST_F(PageFormTest, ReadsEveryPropertyBack)
{
    struct Case
    {
        const char* component;
        const char* property;
        const char* text;
    };
    const Case cases[] = {
        {"EveryControl", "Caption", "Every page control"},
        {"EveryControl", "BorderStyle", "bsNone"},
        {"EveryControl", "ClientWidth", "640"},
        {"EveryControl", "ClientHeight", "420"},
        {"EveryControl", "Position", "poDesigned"},
        {"EveryControl", "Font.Height", "-11"},
        {"EveryControl", "Font.Name", "MS Sans Serif"},
        {"EveryControl", "Visible", "False"},
        {"Label1", "Caption", "A &label"},
        {"Label1", "Hint", "WELCOME"},
        {"Label1", "FocusControl", "Edit1"},
        {"Label1", "Transparent", "False"},
        {"Label1", "OnClick", "Label1Click"},
        {"Label1", "Width", "100"},
        {"Label1", "ParentFont", "True"},
        {"Label1", "Font.Name", "MS Sans Serif"},
        {"Edit1", "Text", "C:\\Program Files\\App"},
        {"Edit1", "MaxLength", "40"},
        {"Edit1", "Tag", "2"},
        {"Edit1", "TabOrder", "0"},
        {"Edit1", "OnChange", "Edit1Change"},
        {"MaskEdit1", "EditMask", "000-000;1;_"},
        {"MaskEdit1", "Text", "123-456"},
        {"MaskEdit1", "OnKeyUp", "MaskEdit1KeyUp"},
        {"Button1", "Caption", "&Next >"},
        {"Button1", "Default", "True"},
        {"Button1", "ModalResult", "6"},
        {"BitBtn1", "Kind", "bkCancel"},
        {"BitBtn1", "ModalResult", "2"},
        {"BitBtn1", "Caption", "Cancel"},
        {"SpeedButton1", "Down", "True"},
        {"SpeedButton1", "GroupIndex", "1"},
        {"Memo1", "MaxLength", "2147483647"},
        {"Memo1", "ReadOnly", "True"},
        {"Memo1", "ScrollBars", "ssVertical"},
        {"Memo1", "Text", "First line\r\nSecond line"},
        {"RichEdit1", "PlainText", "True"},
        {"ListBox1", "ItemIndex", "1"},
        {"CheckListBox1", "AllowGrayed", "True"},
        {"CheckListBox1", "OnClickCheck", "CheckListBox1ClickCheck"},
        {"ComboBox1", "Style", "csDropDownList"},
        {"ComboBox1", "ItemIndex", "1"},
        {"ComboBox1", "Text", "Complete"},
        {"GroupBox1", "Caption", "Group"},
        {"SkCheckBox1", "Checked", "True"},
        {"SkCheckBox1", "State", "cbChecked"},
        {"SkRadioButton1", "Checked", "False"},
        {"SkRadioButton2", "Checked", "True"},
        {"Panel1", "BevelInner", "bvLowered"},
        {"Panel1", "BevelOuter", "bvRaised"},
        {"Panel1", "Color", "clInfoBk"},
        {"Panel1", "Alignment", "taRightJustify"},
        {"StaticText1", "BorderStyle", "sbsSunken"},
        {"Image1", "Stretch", "True"},
        {"Shape1", "Shape", "stEllipse"},
        {"Shape1", "Brush.Color", "clRed"},
        {"Shape1", "Pen.Width", "2"},
        {"Shape1", "OnMouseUp", "Shape1MouseUp"},
        {"Bevel1", "Shape", "bsFrame"},
        {"Bevel1", "Style", "bsRaised"},
        {"Gauge1", "Progress", "40"},
        {"Gauge1", "ForeColor", "clBlue"},
        {"PageControl1", "ActivePage", "TabSheet2"},
        {"TabSheet2", "PageIndex", "1"},
        {"TabSheet1", "Caption", "First"},
        {"TrackBar1", "Max", "20"},
        {"TrackBar1", "Position", "7"},
        {"TrackBar1", "Frequency", "2"},
        {"ProgressBar1", "Position", "60"},
        {"ProgressBar1", "Smooth", "True"},
        {"ProgressBar2", "Style", "pbstMarquee"},
        {"UpDown1", "Associate", "Edit2"},
        {"UpDown1", "Position", "1200"},
        {"Animate1", "CommonAVI", "aviCopyFile"},
        {"Animate1", "StopFrame", "20"},
        {"TreeView1", "ReadOnly", "True"},
        {"TreeView1", "OnChange", "TreeView1Change"},
        {"FileListBox1", "Mask", "*.txt"},
        {"FileListBox1", "FileEdit", "Edit3"},
        {"DirectoryListBox1", "Directory", "C:\\windows"},
        {"DirectoryListBox1", "FileList", "FileListBox1"},
        {"DirectoryListBox1", "DirLabel", "Label4"},
        {"DriveComboBox1", "DirList", "DirectoryListBox1"},
        {"FilterComboBox1", "Filter", "Text files (*.txt)|*.txt|All files (*.*)|*.*"},
        {"FilterComboBox1", "FileList", "FileListBox1"},
        {"FlashFrame1", "Loop", "False"},
        {"FlashFrame1", "Caption", "Flash"},
        {"SkBmpButton1", "ModalResult", "1"},
        {"VistaGlass1", "GlassTop", "40"},
        {"VistaGlass1", "GlassEnabled", "True"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PropertyText(page, c.component, c.property), c.text)
            << c.component << "." << c.property;
}

TEST_F(PageFormTest, LinkedControlsAndOwnedObjectsFollowTheFile)
{
    // The up-down writes its position into its associate once the page is read.
    EXPECT_EQ(page.FindComponent("Edit2")
                  ? dynamic_cast<TEdit*>(page.FindComponent("Edit2"))->Text()
                  : "",
              "1,200");
    // The filter box's first pattern reaches the file list; the folder list's folder the label.
    EXPECT_EQ(dynamic_cast<TLabel*>(page.FindComponent("Label4"))->Caption(), "C:\\windows");
    auto* image = dynamic_cast<TImage*>(page.FindComponent("Image1"));
    ASSERT_NE(image->Picture()->Graphic(), nullptr);
    EXPECT_EQ(image->Picture()->Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(image->Picture()->Width(), 16);
    EXPECT_EQ(page.Icon()->Width(), 16);
    EXPECT_EQ(dynamic_cast<TBitBtn*>(page.FindComponent("BitBtn1"))->Glyph()->Height(), 16);
    auto* memo = dynamic_cast<TMemo*>(page.FindComponent("Memo1"));
    EXPECT_EQ(memo->Lines()->Count(), 2u);
    // Design positions of non-visual components come through as their design information.
    EXPECT_EQ(page.FindComponent("VistaGlass1")->DesignInfo(), (400u << 16) | 600u);
}

}  // namespace
}  // namespace setup::ui::testing
