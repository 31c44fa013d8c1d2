#include "setup/ui/menus.h"

#include <gtest/gtest.h>

#include "setup/forms/component_reader.h"
#include "setup/forms/text_form.h"
#include "setup/ui/image_list.h"
#include "setup/ui/picture.h"
#include "setup/ui/tests/graphic_files.h"
#include "setup/ui/tests/recording_fakes.h"
#include "setup/ui/tests/test_page.h"

namespace setup::ui::testing {
namespace {

class ChoosingPresenter final : public IMenuPresenter
{
public:
    TMenuItem* Present(TPopupMenu& menu, int x, int y) override
    {
        shownAt = {x, y};
        return choice;
    }
    TMenuItem* choice = nullptr;
    TPoint shownAt;
};

TEST(PopupMenu, ReadsItsItemTreeAndClicksTheChosenItem)
{
    TTestPage page;
    forms::ClassRegistry registry;
    registry.Register(TPopupMenu::StaticClass());
    registry.Register(TMenuItem::StaticClass());
    forms::ComponentReader(registry).ReadRootComponent(forms::ReadTextForm(R"(object Page: TForm
  object Menu1: TPopupMenu
    object Install1: TMenuItem
      Caption = '&Install'
      Default = True
      OnClick = Button1Click
    end
    object Line1: TMenuItem
      Caption = '-'
    end
    object Mode1: TMenuItem
      Caption = 'Mode'
      object Full1: TMenuItem
        Caption = 'Full'
        RadioItem = True
        Checked = True
      end
      object Lite1: TMenuItem
        Caption = 'Lite'
        RadioItem = True
      end
    end
  end
end
)"),
                                                       page);
    auto* menu = dynamic_cast<TPopupMenu*>(page.FindComponent("Menu1"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items()->Items().size(), 3u);
    EXPECT_TRUE(menu->Items()->Items()[1]->IsSeparator());
    auto* full = dynamic_cast<TMenuItem*>(page.FindComponent("Full1"));
    auto* lite = dynamic_cast<TMenuItem*>(page.FindComponent("Lite1"));
    EXPECT_EQ(full->Parent(), page.FindComponent("Mode1"));
    lite->SetChecked(true);
    EXPECT_FALSE(full->Checked());

    // Nothing shows menus yet: no choice, no click.
    EXPECT_EQ(menu->Popup(10, 20), nullptr);
    ChoosingPresenter presenter;
    menu->presenter = &presenter;
    presenter.choice = dynamic_cast<TMenuItem*>(page.FindComponent("Install1"));
    EXPECT_EQ(menu->Popup(10, 20), presenter.choice);
    EXPECT_EQ(presenter.shownAt, (TPoint{10, 20}));
    // A disabled item chosen does nothing.
    presenter.choice->enabled = false;
    menu->Popup(0, 0);
    EXPECT_EQ(page.events, (std::vector<std::string>{"Button1Click Install1"}));
}

TEST(ImageList, CutsAStripIntoImagesAndDrawsThemByIndex)
{
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(2);
    TBitmap strip;
    // Three images of four by two pixels, each a blue of its own.
    strip.LoadFromBytes(BmpFile(12, 2, [](int x, int) {
        return htmlview::Rgb{0, 0, static_cast<std::uint8_t>(x / 4 * 80)};
    }));
    EXPECT_EQ(list.Add(strip), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Image(1)->ColorAt(0, 0).blue, 80);

    RecordingDevice device;
    TCanvas canvas(&device);
    list.Draw(canvas, 5, 6, 2);
    list.Draw(canvas, 0, 0, 3);
    list.Draw(canvas, 0, 0, -1);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"image 5,6,9,8 4x2"}));
    // A graphic smaller than one image adds nothing.
    list.SetWidth(16);
    EXPECT_EQ(list.Add(strip), -1);
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace setup::ui::testing
