// Opens a form file (a page file, or a text form) in design mode so its controls can be selected,
// moved and sized with the mouse and keys, with the object inspector beside it showing the
// selection (its component list above the grid selects in the form too); saves the form back
// when the window closes.
//   form_designer_demo FILE                       edit by hand; closing saves FILE
//   form_designer_demo FILE --save OUT            the same, saving into OUT
//   form_designer_demo FILE --edit OUT            drags the first control by posted mouse
//                                                 messages, selects the next with a key, saves
//   form_designer_demo FILE --inspect OUT         clicks the first control, types a new Left
//                                                 into the inspector's grid, chooses the next
//                                                 control in the component list, scrolls the
//                                                 grid with the wheel, saves
//   form_designer_demo FILE --screenshot PNG      a picture with the first control selected
//   form_designer_demo FILE --inspector PNG       a picture of the inspector showing it
//   form_designer_demo FILE --menu-editor PNG     a picture of the menu editor over a menu
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "setup/ui/application.h"
#include "setup/ui/capture_win32.h"
#include "setup/ui/designer/design_surface_win32.h"
#include "setup/ui/file_lister_win32.h"
#include "setup/ui/form_designer.h"
#include "setup/ui/inspector/component_inspector.h"
#include "setup/ui/inspector/inspector_system_win32.h"
#include "setup/ui/inspector/property_editors.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/message_loop_win32.h"
#include "setup/ui/page_classes.h"
#include "setup/ui/window_peer_win32.h"

#include "page_application_win32.h"

namespace forms = setup::forms;
namespace ui = setup::ui;

namespace {

ui::FormFileLayout LayoutOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string start(6, '\0');
    in.read(start.data(), 6);
    return start == "object" ? ui::FormFileLayout::Text : ui::FormFileLayout::Binary;
}

// A press on a control's window, a move with the button down and the release, as the system
// would queue them.
void PostDrag(HWND window, POINT from, POINT to)
{
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    ::PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

// A click on a control's window, as the system would queue it.
void PostClick(HWND window, POINT at)
{
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

// Typing a text into an edit window and pressing Enter.
void PostTyping(HWND window, const std::string& text)
{
    ::PostMessageA(window, EM_SETSEL, 0, -1);
    for (char c : text)
        ::PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 0);
    ::PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageA(window, WM_KEYUP, VK_RETURN, 0);
}

// The controls a person would pick: visible, named ones of the form, in their order.
std::vector<ui::TControl*> NamedControls(ui::TCustomForm& form)
{
    std::vector<ui::TControl*> controls;
    for (ui::TControl* control : form.Controls())
        if (control->Visible() && form.FindComponent(control->Name()) == control)
            controls.push_back(control);
    return controls;
}

ui::TControl* FirstControl(ui::TCustomForm& form)
{
    const std::vector<ui::TControl*> controls = NamedControls(form);
    return controls.empty() ? nullptr : controls.front();
}

// The inspector's component list: the form and its components by name; choosing one shows it
// in the grid, and through the inspector selects it in the form.
class ComponentList : public ui::TComboBox
{
public:
    ComponentList(forms::TComponent* owner, ui::TRFInspector& inspector, ui::TCustomForm& form)
        : ui::TComboBox(owner), m_inspector(inspector), m_form(form)
    {
        SetStyle(ui::csDropDownList);
    }
    void Fill()
    {
        m_components.clear();
        Items()->Clear();
        m_components.push_back(&m_form);
        for (std::size_t i = 0; i < m_form.ComponentCount(); ++i)
            if (forms::TComponent* component = m_form.Component(i); !component->Name().empty())
                m_components.push_back(component);
        for (forms::TComponent* component : m_components)
            Items()->Add(component->Name() + ": " + component->ClassName());
        Follow();
    }
    // Shows what the inspector shows; nothing for several components.
    void Follow()
    {
        const auto& model = m_inspector.Model();
        const auto at = std::find(m_components.begin(), m_components.end(),
                                  model.ListCount() == 1 ? model.Component(0) : nullptr);
        const int index = at == m_components.end() ? -1 : static_cast<int>(at - m_components.begin());
        if (index != ItemIndex())
            SetItemIndex(index);
    }
    int IndexOf(const forms::TComponent* component) const
    {
        const auto at = std::find(m_components.begin(), m_components.end(), component);
        return at == m_components.end() ? -1 : static_cast<int>(at - m_components.begin());
    }
    void ItemIndexFromWindow(std::int32_t index) override
    {
        ui::TComboBox::ItemIndexFromWindow(index);
        if (index >= 0 && static_cast<std::size_t>(index) < m_components.size())
            m_inspector.SetInstance(m_components[static_cast<std::size_t>(index)]);
    }

private:
    ui::TRFInspector& m_inspector;
    ui::TCustomForm& m_form;
    std::vector<forms::TComponent*> m_components;
};

// A menu for the menu editor's picture.
void AddSampleMenu(ui::TMenuItem& root, forms::TComponent& owner)
{
    const auto add = [&owner](ui::TMenuItem& parent, const char* name, const char* caption) {
        auto* item = new ui::TMenuItem(&owner);
        item->SetName(name);
        item->caption = caption;
        parent.Add(item);
        return item;
    };
    ui::TMenuItem* file = add(root, "mnuFile", "&File");
    add(*file, "mnuOpen", "&Open...");
    add(*file, "mnuSave", "&Save");
    add(*file, "mnuExit", "E&xit");
    ui::TMenuItem* help = add(root, "mnuHelp", "&Help");
    add(*help, "mnuAbout", "&About...");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: form_designer_demo FILE [--save OUT | --edit OUT | --inspect OUT | "
                     "--screenshot PNG | --inspector PNG | --menu-editor PNG]\n");
        return 2;
    }
    const std::string source = argv[1];
    const std::string mode = argc >= 4 ? argv[2] : "";
    const std::string target = argc >= 4 ? argv[3] : source;

    PageApplication page;
    ui::TApplication& app = page.app;
    forms::ClassRegistry& registry = page.registry;
    ui::Win32DesignSurface surface;
    ui::Win32InspectorSystem inspectorSystem;

    try {
        ui::TForm form;
        app.AddForm(form);
        auto* designer = new ui::TRFDesigner(&form);
        designer->SetName("Designer");
        designer->registry = &registry;
        designer->surface = &surface;
        designer->LoadFromFile(source, LayoutOf(source));
        form.Show();

        // The inspector beside the form.
        ui::TForm side;
        app.AddForm(side);
        side.SetCaption("Object Inspector");
        side.SetBorderStyle(ui::TFormBorderStyle::bsSizeToolWin);
        side.SetClientWidth(260);
        side.SetClientHeight(std::max(form.ClientHeight(), 300));
        side.SetBounds(form.Left() + form.Width() + 8, form.Top(), side.Width(), side.Height());
        auto* inspector = new ui::TRFInspector(&side);
        inspector->SetName("Inspector");
        inspector->SetParent(&side);
        constexpr int kListHeight = 24;
        inspector->SetBounds(0, kListHeight, side.ClientWidth(),
                             side.ClientHeight() - kListHeight);
        inspector->system = &inspectorSystem;
        inspector->SetRoot(&form);
        inspector->SetDefaultInstance(&form);
        auto* components = new ComponentList(&side, *inspector, form);
        components->SetName("Components");
        components->SetParent(&side);
        components->SetBounds(0, 0, side.ClientWidth(), kListHeight);
        components->Fill();
        inspector->onUpdate = [components] { components->Follow(); };
        designer->SetInspector(inspector);
        side.Show();
        // Clicks edit the form only while it is the active one.
        ::SetForegroundWindow(ui::WindowOf(form));

        designer->SetActive(true);
        app.ProcessMessages();

        ui::TControl* first = FirstControl(form);
        if (mode == "--screenshot") {
            designer->Select(first);
            app.ProcessMessages();
            ui::SavePngFile(ui::CaptureForm(form), target);
            std::printf("%s\n", target.c_str());
        } else if (mode == "--inspector") {
            designer->Select(first);
            app.ProcessMessages();
            ui::SavePngFile(ui::CaptureForm(side), target);
            std::printf("%s\n", target.c_str());
        } else if (mode == "--menu-editor") {
            ui::TMenuItem menu(nullptr);
            AddSampleMenu(menu, form);
            ui::TfrmMenuEditor editor(menu, *inspector);
            // Alone on the screen, as a modal editor would be in front.
            side.Hide();
            form.Hide();
            app.AddForm(editor);
            editor.Show();
            app.ProcessMessages();
            // The second item chosen in the tree, as a click would.
            const std::vector<ui::TTreeNode*> nodes = editor.trvItems->Items()->All();
            if (nodes.size() > 1) {
                editor.trvItems->SetSelected(nodes[1]);
                editor.ItemSelected(nodes[1]);
            }
            app.ProcessMessages();
            ui::SavePngFile(ui::CaptureForm(editor), target);
            std::printf("%s\n", target.c_str());
            editor.Hide();
            app.RemoveForm(editor);
        } else if (mode == "--inspect") {
            if (!first)
                throw std::runtime_error("the form has no control to edit");
            HWND window = ui::WindowOf(form);
            POINT at{0, 0};
            ::MapWindowPoints(first->Parent() ? ui::WindowOf(*first->Parent()) : window, window,
                              &at, 1);
            PostClick(window, POINT{at.x + first->Left() + 2, at.y + first->Top() + 2});
            app.ProcessMessages();
            const int row = inspector->Model().FindRow("Left");
            if (inspector->Instance() != first || row < 0)
                throw std::runtime_error("the inspector does not show the clicked control");
            inspector->SelectRow(row, false);
            app.ProcessMessages();
            const int left = first->Left();
            PostTyping(ui::WindowOf(*inspector->Editor()), std::to_string(left + 24));
            app.ProcessMessages();
            std::printf("%s: Left %d typed into the inspector, now %d\n", first->Name().c_str(),
                        left + 24, first->Left());

            // The other way: the next control chosen in the inspector's component list, as the
            // list's window tells its parent of a choice.
            const std::vector<ui::TControl*> controls = NamedControls(form);
            ui::TControl* next = controls.size() > 1 ? controls[1] : first;
            HWND list = ui::WindowOf(*components);
            ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(components->IndexOf(next)), 0);
            ::PostMessageA(::GetParent(list), WM_COMMAND,
                           MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(list));
            app.ProcessMessages();
            forms::TComponent* selected = designer->Control();
            std::printf("%s chosen in the inspector; selected in the form: %s\n",
                        next->Name().c_str(), selected ? selected->Name().c_str() : "(none)");

            // The grid scrolls with the wheel turned over its edit.
            const int topBefore = inspector->TopIndex();
            HWND grid = ui::WindowOf(*inspector);
            RECT onScreen{};
            ::GetWindowRect(grid, &onScreen);
            ::SendMessageA(ui::WindowOf(*inspector->Editor()), WM_MOUSEWHEEL,
                           MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)),
                           MAKELPARAM(onScreen.left + 20, onScreen.top + 20));
            app.ProcessMessages();
            SCROLLINFO bar{};
            bar.cbSize = sizeof(bar);
            bar.fMask = SIF_POS;
            ::GetScrollInfo(grid, SB_VERT, &bar);
            std::printf("The wheel scrolled the inspector's rows from %d to %d (scroll bar at %d)\n",
                        topBefore, inspector->TopIndex(), bar.nPos);
            designer->SetActive(false);
            form.Hide();
            designer->SaveToFile(target, ui::FormFileLayout::Binary);
        } else if (mode == "--edit") {
            if (!first)
                throw std::runtime_error("the form has no control to edit");
            const int left = first->Left();
            const int top = first->Top();
            HWND window = ui::WindowOf(form);
            POINT from{0, 0};
            ::MapWindowPoints(first->Parent() ? ui::WindowOf(*first->Parent()) : window, window,
                              &from, 1);
            from.x += left + 2;
            from.y += top + 2;
            PostDrag(window, from, POINT{from.x + 16, from.y + 8});
            ::PostMessageA(window, WM_KEYDOWN, VK_TAB, 0);
            ::PostMessageA(window, WM_KEYUP, VK_TAB, 0);
            app.ProcessMessages();
            std::printf("%s moved from %d, %d to %d, %d; selected now: %s\n", first->Name().c_str(),
                        left, top, first->Left(), first->Top(),
                        designer->Control() ? designer->Control()->Name().c_str() : "(none)");
            designer->SetActive(false);
            // The page as it was read: hidden until shown.
            form.Hide();
            designer->SaveToFile(target, ui::FormFileLayout::Binary);
        } else {
            app.Run();
            designer->SetActive(false);
            form.Hide();
            designer->SaveToFile(target, LayoutOf(source));
        }
        inspector->onUpdate = nullptr;
        designer->SetInspector(nullptr);
        app.RemoveForm(side);
        app.RemoveForm(form);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), error.what());
        return 1;
    }
    return 0;
}
