// Under Xvfb: design mode on real windows. Posted messages pass the thread's message hook, which
// hands them to the designer; what it swallows never reaches the controls.
#include <windows.h>

#include <gtest/gtest.h>

#include "setup/ui/designer/grab_handles.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/tests/design_windows_fixture_win32.h"

namespace setup::ui::testing {
namespace {

TEST(DesignerWindows, PostedMouseAndKeyMessagesSelectMoveAndSize)
{
    DesignWindows<TFormDesigner> w;
    TApplication& app = w.app;
    TForm& form = w.form;
    TFormDesigner* designer = w.designer;
    auto* button = w.Place<TButton>("Button1", 20, 30, 80, 25);
    auto* edit = w.Place<TEdit>("Edit1", 150, 30, 100, 21);
    form.Show();
    designer->SetActive(true);
    app.ProcessMessages();

    HWND buttonWindow = WindowOf(*button);
    ASSERT_NE(buttonWindow, nullptr);
    ::PostMessageA(buttonWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageA(buttonWindow, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(15, 9));
    ::PostMessageA(buttonWindow, WM_LBUTTONUP, 0, MAKELPARAM(15, 9));
    app.ProcessMessages();
    EXPECT_EQ(designer->Control(), button);
    EXPECT_EQ(button->BoundsRect(), TRect::Bounds(30, 34, 80, 25));
    RECT placed{};
    ::GetWindowRect(buttonWindow, &placed);
    ::MapWindowPoints(nullptr, WindowOf(form), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 30);

    // The handles are windows beside the control; a drag on the right middle one widens it.
    TGrabHandle* handle = designer->GrabHandles()->Handle(gpRightMiddle);
    ASSERT_TRUE(handle->HandleAllocated());
    EXPECT_TRUE(::IsWindowVisible(WindowOf(*handle)));
    ::PostMessageA(WindowOf(*handle), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageA(WindowOf(*handle), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(22, 2));
    ::PostMessageA(WindowOf(*handle), WM_LBUTTONUP, 0, MAKELPARAM(22, 2));
    app.ProcessMessages();
    EXPECT_EQ(button->Width(), 100);

    // Tab is taken by the designer, not by the dialog navigation.
    ::PostMessageA(WindowOf(form), WM_KEYDOWN, VK_TAB, 0);
    app.ProcessMessages();
    EXPECT_EQ(designer->Control(), edit);

    designer->SetActive(false);
}

}  // namespace
}  // namespace setup::ui::testing
