#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "setup/htmlview/forms/control_host_win32.h"
#include "setup/htmlview/forms/form.h"
#include "setup/htmlview/tests/attribute_lists.h"

namespace {

using namespace htmlview;
using htmlview_tests::Attributes;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* host = reinterpret_cast<ControlHostWin32*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_COMMAND && host && host->HandleCommand(wParam, lParam))
        return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// A hidden paint area whose WM_COMMAND messages go to the host, as the viewer's do.
class ControlHostWin32Test : public ::testing::Test
{
protected:
    ControlHostWin32Test()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"ControlHostTestParent";
        ::RegisterClassW(&windowClass);
        m_parent = ::CreateWindowW(L"ControlHostTestParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                   300, nullptr, nullptr, windowClass.hInstance, nullptr);
        ::ShowWindow(m_parent, SW_SHOWNOACTIVATE);  // the focus moves only on a shown window
        host = std::make_unique<ControlHostWin32>(m_parent);
        ::SetWindowLongPtrW(m_parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host.get()));
        form = std::make_unique<Form>(*host, nullptr);
        host->onEvent = [this](int id, ControlEvent event) { form->Dispatch(id, event); };
    }
    ~ControlHostWin32Test() override
    {
        form.reset();
        host.reset();
        ::DestroyWindow(m_parent);
    }
    void Command(int id, WORD code)
    {
        ::SendMessageW(m_parent, WM_COMMAND, MAKEWPARAM(id, code),
                       reinterpret_cast<LPARAM>(host->WindowOf(id)));
    }

    HWND m_parent = nullptr;
    std::unique_ptr<ControlHostWin32> host;
    std::unique_ptr<Form> form;
};

TEST_F(ControlHostWin32Test, ControlsAreChildWindowsThatSubmitWhatTheyHold)
{
    ASSERT_NE(m_parent, nullptr);
    auto& edit =
        form->AddInput(Attributes({{Sym::Name, "t"}, {Sym::Value, "typed"}, {Sym::Size, "10"}}));
    auto& box =
        form->AddInput(Attributes({{Sym::Type, "checkbox"}, {Sym::Name, "c"}, {Sym::Checked, ""}}));
    ListControl& list = form->AddSelect(Attributes({{Sym::Name, "l"}, {Sym::Multiple, ""}}));
    list.AddOption(u"one", false, "");
    list.AddOption(u"two", true, "2");
    list.ResetToInitial();
    ListControl& drop = form->AddSelect(Attributes({{Sym::Name, "d"}}));
    drop.AddOption(u"a", false, "");
    drop.AddOption(u"b", true, "");
    drop.ResetToInitial();
    TextAreaControl& memo = form->AddTextArea(Attributes({{Sym::Name, "m"}, {Sym::Wrap, "hard"}}),
                                              "word word word word word word");

    HWND editWindow = host->WindowOf(edit.control);
    ASSERT_NE(editWindow, nullptr);
    EXPECT_EQ(::GetParent(editWindow), m_parent);
    RECT r;
    ::GetWindowRect(editWindow, &r);
    POINT corner{r.left, r.top};
    ::ScreenToClient(m_parent, &corner);
    EXPECT_EQ(corner.x, -4000);  // parked until painted

    edit.ApplySize();
    EXPECT_EQ(edit.width, host->AverageCharWidth(edit.control) * 10 + 23);
    EXPECT_GT(edit.height, host->TextSize(edit.control, u"A").height);
    edit.PlaceAt(5, 7);
    ::GetWindowRect(editWindow, &r);
    corner = {r.left, r.top};
    ::ScreenToClient(m_parent, &corner);
    EXPECT_EQ(corner.x, 5);
    EXPECT_EQ(corner.y, 7);

    // A narrow memo shows its text in several lines and submits them as shown.
    memo.specWidth = 60;
    memo.ApplySize();
    const std::vector<std::u16string> lines = host->ShownLines(memo.control);
    EXPECT_GT(lines.size(), 1u);
    std::string joined = "m=";
    for (std::size_t i = 0; i < lines.size(); ++i)
        joined += (i ? "\r\n" : "") + std::string(lines[i].begin(), lines[i].end());

    EXPECT_EQ(form->SubmissionList(),
              (std::vector<std::string>{"t=typed", "c=on", "l=2", "d=b", joined}));
    ::SetWindowTextW(editWindow, L"changed");
    ::SendMessageW(host->WindowOf(box.control), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageW(host->WindowOf(list.control), LB_SETSEL, TRUE, 0);
    ::SendMessageW(host->WindowOf(drop.control), CB_SETCURSEL, 0, 0);
    EXPECT_EQ(form->SubmissionList(),
              (std::vector<std::string>{"t=changed", "l=one", "l=2", "d=a", joined}));
    form->ResetControls();
    EXPECT_EQ(host->Text(edit.control), u"typed");
    EXPECT_TRUE(host->Checked(box.control));
}

TEST_F(ControlHostWin32Test, ClicksAndKeysReachTheForm)
{
    std::vector<std::vector<std::string>> sent;
    form->onSubmit = [&](const Form::Submitted& s) { sent.push_back(s.items); };
    auto& first = dynamic_cast<CheckControl&>(form->AddInput(Attributes(
        {{Sym::Type, "radio"}, {Sym::Name, "r"}, {Sym::Value, "1"}, {Sym::Checked, ""}})));
    auto& second = dynamic_cast<CheckControl&>(
        form->AddInput(Attributes({{Sym::Type, "radio"}, {Sym::Name, "r"}, {Sym::Value, "2"}})));
    auto& edit = form->AddInput(Attributes({{Sym::Name, "t"}, {Sym::Value, "v"}}));
    auto& submit =
        form->AddInput(Attributes({{Sym::Type, "submit"}, {Sym::Name, "go"}, {Sym::Value, "Go"}}));

    Command(second.control, BN_CLICKED);
    EXPECT_TRUE(second.IsChecked());
    EXPECT_FALSE(first.IsChecked());
    Command(submit.control, BN_CLICKED);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (std::vector<std::string>{"r=2", "t=v", "go=Go"}));
    // Enter in the text box submits without the button.
    ::SendMessageW(host->WindowOf(edit.control), WM_CHAR, VK_RETURN, 0);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], (std::vector<std::string>{"r=2", "t=v"}));
    // A radio button wants the arrow keys, and they move the focus within its group.
    EXPECT_TRUE(::SendMessageW(host->WindowOf(second.control), WM_GETDLGCODE, 0, 0) &
                DLGC_WANTARROWS);
    ::SendMessageW(host->WindowOf(second.control), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(::GetFocus(), host->WindowOf(first.control));
}

TEST_F(ControlHostWin32Test, IdsStayClearOfTheDialogsOwnCommands)
{
    // Enter and Escape in a page send IDOK and IDCANCEL (1 and 2): no control of a document may
    // carry those ids.
    const int first = host->Create(ControlKind::Edit, u"", true);
    const int second = host->Create(ControlKind::Button, u"b", true);
    for (int id : {first, second}) {
        EXPECT_GE(id, 1000);
        const int windowId = ::GetDlgCtrlID(host->WindowOf(id));
        EXPECT_NE(windowId, IDOK);
        EXPECT_NE(windowId, IDCANCEL);
    }
    EXPECT_EQ(::GetDlgItem(m_parent, IDOK), nullptr);
    EXPECT_EQ(::GetDlgItem(m_parent, IDCANCEL), nullptr);
}

TEST_F(ControlHostWin32Test, ADestroyedControlReportsNothingAsItLosesTheFocus)
{
    std::vector<std::pair<int, ControlEvent>> heard;
    host->onEvent = [&](int id, ControlEvent event) { heard.emplace_back(id, event); };
    const int edit = host->Create(ControlKind::Edit, u"", true);
    const int stop = host->Create(ControlKind::LinkStop, u"", true);
    for (int id : {edit, stop}) {
        ::SetFocus(host->WindowOf(id));
        ASSERT_EQ(::GetFocus(), host->WindowOf(id));
        heard.clear();
        host->Destroy(id);  // its object is going away: nobody may be told
        EXPECT_TRUE(heard.empty()) << id;
        EXPECT_EQ(host->WindowOf(id), nullptr);
    }
    // The same when the whole host goes with a control focused.
    const int last = host->Create(ControlKind::LinkStop, u"", true);
    ::SetFocus(host->WindowOf(last));
    heard.clear();
    host.reset();
    EXPECT_TRUE(heard.empty());
}

TEST_F(ControlHostWin32Test, EnterIsWantedByTextBoxesAndLinkStopsNotByTheDialog)
{
    std::vector<std::pair<int, ControlEvent>> heard;
    host->onEvent = [&](int id, ControlEvent event) { heard.emplace_back(id, event); };
    struct Case
    {
        ControlKind kind;
        bool wantsEnter;
    };
    for (const Case& c : {Case{ControlKind::Edit, true}, Case{ControlKind::Password, true},
                          Case{ControlKind::LinkStop, true}, Case{ControlKind::Radio, false}}) {
        const int id = host->Create(c.kind, u"", true);
        HWND window = host->WindowOf(id);
        MSG enter{window, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        const LRESULT code =
            ::SendMessageW(window, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter));
        EXPECT_EQ((code & DLGC_WANTMESSAGE) != 0, c.wantsEnter) << static_cast<int>(c.kind);
        heard.clear();
        ::SendMessageW(window, WM_CHAR, VK_RETURN, 0);
        EXPECT_EQ(heard.size(), c.wantsEnter ? 1u : 0u) << static_cast<int>(c.kind);
        if (c.wantsEnter && !heard.empty()) {
            EXPECT_EQ(heard[0].second, ControlEvent::Return);
        }
    }
}

TEST_F(ControlHostWin32Test, ALinkStopReportsItsFocusAndTabFollowsTheOrderGiven)
{
    std::vector<std::pair<int, ControlEvent>> heard;
    host->onEvent = [&](int id, ControlEvent event) { heard.emplace_back(id, event); };
    const int a = host->Create(ControlKind::Edit, u"", true);
    const int b = host->Create(ControlKind::LinkStop, u"", true);
    const int c = host->Create(ControlKind::Button, u"c", true);
    ::SetFocus(host->WindowOf(b));
    ::SetFocus(host->WindowOf(a));
    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard[0], std::make_pair(b, ControlEvent::Enter));
    EXPECT_EQ(heard[1], std::make_pair(b, ControlEvent::Leave));

    host->SetTabOrder({c, a, b});
    EXPECT_TRUE(::GetWindowLongPtrW(m_parent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    std::vector<HWND> order;
    for (HWND w = ::GetWindow(m_parent, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
        order.push_back(w);
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], host->WindowOf(c));
    EXPECT_EQ(order[1], host->WindowOf(a));
    EXPECT_EQ(order[2], host->WindowOf(b));
    // Without tab stops dialog navigation no longer steps into the area.
    host->SetTabOrder({});
    EXPECT_FALSE(::GetWindowLongPtrW(m_parent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
}

}  // namespace
