#include "setup/ui/inspector/property_editors.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "setup/forms/class_builder.h"
#include "setup/forms/strings.h"
#include "setup/ui/application.h"
#include "setup/ui/containers.h"
#include "setup/ui/inspector/component_inspector.h"
#include "setup/ui/inspector/inspector_system.h"

namespace setup::ui {
namespace {

template <class Form>
forms::TMethod MethodOf(Form& form, const char* name)
{
    return {Form::StaticClass().FindMethod(name), &form};
}

template <class Form>
TButton* AddButton(Form& form, const char* caption, int left, int top, int width,
                   std::int32_t modalResult, const char* handler = nullptr)
{
    auto* button = new TButton(&form);
    button->SetCaption(caption);
    button->SetParent(&form);
    button->SetBounds(left, top, width, 25);
    button->modalResult = modalResult;
    if (handler)
        static_cast<forms::TMethod&>(button->onClick) = MethodOf(form, handler);
    return button;
}

// The item inspector of the menu and collection editors, set up like the owning inspector.
TComponentInspector* ItemInspector(TForm& form, TComponentInspector& owner, int left, int top,
                                   int width, int height)
{
    auto* inspector = new TComponentInspector(&form);
    inspector->SetName("cinItemProperties");
    inspector->SetParent(&form);
    inspector->SetBounds(left, top, width, height);
    inspector->SetRoot(owner.Root());
    inspector->SetPaintStyle(owner.PaintStyle());
    inspector->system = owner.system;
    // Events list the handlers the owning inspector offers.
    inspector->onFillEventList = owner.onFillEventList;
    if (owner.onCustomizeInspector)
        owner.onCustomizeInspector(*inspector);
    return inspector;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

int TPropertyEditor::RunForm(TCustomForm& form)
{
    // The editors' forms are made without owner; a form outside an application has no message
    // loop to run in, so it joins the inspector's for the run.
    TApplication* joined = nullptr;
    if (!form.Application()) {
        joined = OwningApplication(m_inspector);
        for (TControl* control = &m_inspector; !joined && control; control = control->Parent())
            if (auto* parentForm = dynamic_cast<TCustomForm*>(control))
                joined = parentForm->Application();
        if (joined)
            joined->AddForm(form);
    }
    TCustomForm* above = nullptr;
    for (TControl* control = &m_inspector; control && !above; control = control->Parent())
        above = dynamic_cast<TCustomForm*>(control);
    if (above && above->HandleAllocated() && !form.HandleAllocated())
        form.SetOwnerWindow(above->Peer()->Handle());
    struct Leave
    {
        TApplication* app;
        TCustomForm& form;
        ~Leave()
        {
            if (app)
                app->RemoveForm(form);
        }
    } leave{joined, form};
    return m_system.RunModal(form);
}

forms::TObject* TPropertyEditor::ObjectValue() const
{
    const forms::PropInfo* info = m_property.Info();
    if (!info || !m_property.Instance() || m_property.Kind() != forms::TypeKind::Class)
        return nullptr;
    return std::get<forms::TObject*>(info->get(*m_property.Instance()));
}

bool TFontPropertyEditor::Edit()
{
    auto* font = dynamic_cast<TFont*>(ObjectValue());
    if (!font)
        return false;
    TFont copy;
    copy.Assign(*font);
    if (!m_system.PickFont(copy))
        return false;
    font->Assign(copy);
    return true;
}

bool TColorPropertyEditor::Edit()
{
    TColor color = TColor(0);
    try {
        color = TColor(std::stoi(m_property.GetValueText()));
    } catch (const std::logic_error&) {
        // A named colour: the dialog starts from its value below.
    }
    const forms::PropInfo* info = m_property.Info();
    if (info && m_property.Instance())
        color = TColor(static_cast<std::int32_t>(std::get<std::int64_t>(info->get(*m_property.Instance()))));
    if (!m_system.PickColor(color))
        return false;
    m_property.SetValueText(std::to_string(static_cast<std::int32_t>(color)));
    return true;
}

bool TStringsPropertyEditor::Edit()
{
    auto* strings = dynamic_cast<forms::TStrings*>(ObjectValue());
    if (!strings)
        return false;
    TfrmStrings form;
    form.redStrings->Lines()->Assign(*strings);
    form.LinesChanged(nullptr);
    if (RunForm(form) != mrOk)
        return false;
    strings->Assign(*form.redStrings->Lines());
    return true;
}

bool TPicturePropertyEditor::Edit()
{
    forms::TObject* value = ObjectValue();
    TfrmPicture form(m_system);
    if (auto* picture = dynamic_cast<TPicture*>(value)) {
        form.picture.Assign(*picture);
    } else if (auto* graphic = dynamic_cast<TGraphic*>(value)) {
        std::unique_ptr<TGraphic> copy = CreateGraphic(graphic->ClassName());
        if (copy) {
            copy->Assign(*graphic);
            form.picture.SetGraphic(std::move(copy));
        }
        if (dynamic_cast<TBitmap*>(graphic))
            form.openFilter = form.saveFilter = kBitmapFilter;
        else if (dynamic_cast<TIcon*>(graphic))
            form.openFilter = form.saveFilter = kIconFilter;
    } else {
        return false;
    }
    if (RunForm(form) != mrOk)
        return false;
    if (auto* picture = dynamic_cast<TPicture*>(value)) {
        picture->Assign(form.picture);
    } else if (auto* graphic = dynamic_cast<TGraphic*>(value)) {
        if (form.picture.Graphic())
            graphic->Assign(*form.picture.Graphic());
    }
    return true;
}

bool TMenuPropertyEditor::Edit()
{
    auto* item = dynamic_cast<TMenuItem*>(ObjectValue());
    if (!item)
        return false;
    TfrmMenuEditor form(*item, m_inspector);
    if (RunForm(form) != mrOk)
        return false;
    form.cinItemProperties->ApplyEditorValue();
    form.Tree().Apply(*item, item->Owner());
    return true;
}

bool TCollectionPropertyEditor::Edit()
{
    auto* collection = dynamic_cast<forms::TCollection*>(ObjectValue());
    if (!collection)
        return false;
    TfrmCollectionEditor form(*collection, m_inspector);
    RunForm(form);
    form.cinItemProperties->ApplyEditorValue();
    // Its changes act on the collection at once: the inspector always refreshes.
    return true;
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(forms::TProperty& property,
                                                      TComponentInspector& inspector,
                                                      IInspectorSystem& system)
{
    switch (EditorKindOf(property)) {
        case EditorKind::Color:
            return std::make_unique<TColorPropertyEditor>(property, inspector, system);
        case EditorKind::Collection:
            return std::make_unique<TCollectionPropertyEditor>(property, inspector, system);
        case EditorKind::Menu:
            return std::make_unique<TMenuPropertyEditor>(property, inspector, system);
        case EditorKind::Font:
            return std::make_unique<TFontPropertyEditor>(property, inspector, system);
        case EditorKind::Strings:
            return std::make_unique<TStringsPropertyEditor>(property, inspector, system);
        case EditorKind::Picture:
            return std::make_unique<TPicturePropertyEditor>(property, inspector, system);
        case EditorKind::None:
            break;
    }
    return nullptr;
}

bool EditProperty(forms::TProperty& property, TComponentInspector& inspector,
                  IInspectorSystem& system)
{
    std::unique_ptr<TPropertyEditor> editor = CreatePropertyEditor(property, inspector, system);
    return editor && editor->Edit();
}

// The string list editor.

const forms::ClassInfo& TfrmStrings::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TfrmStrings>("TfrmStrings", &TForm::StaticClass())
            .Method("LinesChanged", &TfrmStrings::LinesChanged)
            .Method("ClearClick", &TfrmStrings::ClearClick)
            .Build();
    return info;
}

TfrmStrings::TfrmStrings() : TForm(nullptr)
{
    SetCaption("String List Editor");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientWidth(411);
    SetClientHeight(259);
    lblCount = new TLabel(this);
    lblCount->SetName("lblCount");
    lblCount->SetParent(this);
    lblCount->SetBounds(7, 7, 200, 13);
    lblCount->SetCaption("0 lines");
    redStrings = new TRichEdit(this);
    redStrings->SetName("redStrings");
    redStrings->SetParent(this);
    redStrings->SetBounds(7, 24, 397, 197);
    redStrings->plainText = true;
    redStrings->SetScrollBars(ssBoth);
    redStrings->SetWordWrap(false);
    static_cast<forms::TMethod&>(redStrings->onChange) = MethodOf(*this, "LinesChanged");
    btnClear = AddButton(*this, "&Clear", 7, 228, 75, 0, "ClearClick");
    AddButton(*this, "OK", 248, 228, 75, mrOk)->SetDefault(true);
    AddButton(*this, "Cancel", 329, 228, 75, mrCancel)->cancel = true;
}

void TfrmStrings::LinesChanged(forms::TObject*)
{
    lblCount->SetCaption(LineCountText(redStrings->Lines()->Count()));
}

void TfrmStrings::ClearClick(forms::TObject*)
{
    redStrings->Lines()->Clear();
    redStrings->SetText("");
    LinesChanged(nullptr);
}

// The picture editor.

const forms::ClassInfo& TPictureBox::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TPictureBox>("TPictureBox", &TCustomControl::StaticClass()).Build();
    return info;
}

TPictureBox::TPictureBox(forms::TComponent* owner, TPicture& picture)
    : TCustomControl(owner), m_picture(picture)
{
    SetColor(clWindow);
}

void TPictureBox::Paint(TCanvas& canvas)
{
    const TGraphic* graphic = m_picture.Graphic();
    if (!graphic || graphic->Empty())
        return;
    canvas.StretchDraw(FitPictureRect(graphic->Width(), graphic->Height(), Width(), Height()),
                       *graphic);
}

const forms::ClassInfo& TfrmPicture::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TfrmPicture>("TfrmPicture", &TForm::StaticClass())
            .Method("LoadClick", &TfrmPicture::LoadClick)
            .Method("SaveClick", &TfrmPicture::SaveClick)
            .Method("ClearClick", &TfrmPicture::ClearClick)
            .Build();
    return info;
}

TfrmPicture::TfrmPicture(IInspectorSystem& system) : TForm(nullptr), m_system(system)
{
    SetCaption("Picture Editor");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientWidth(337);
    SetClientHeight(251);
    auto* panel = new TPanel(this);
    panel->SetParent(this);
    panel->SetBounds(7, 7, 235, 235);
    panel->SetCaption("");
    pntImage = new TPictureBox(this, picture);
    pntImage->SetName("pntImage");
    pntImage->SetParent(panel);
    pntImage->SetBounds(6, 6, 223, 223);
    AddButton(*this, "&Load...", 255, 7, 75, 0, "LoadClick");
    AddButton(*this, "&Save...", 255, 38, 75, 0, "SaveClick");
    AddButton(*this, "&Clear", 255, 69, 75, 0, "ClearClick");
    AddButton(*this, "OK", 255, 186, 75, mrOk)->SetDefault(true);
    AddButton(*this, "Cancel", 255, 217, 75, mrCancel)->cancel = true;
    picture.OnChange = [this] { pntImage->Changed(Aspect::Paint); };
}

void TfrmPicture::LoadClick(forms::TObject*)
{
    std::string path;
    if (!m_system.OpenPictureFile(openFilter, path))
        return;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string name = Lower(path);
    const char* className = name.ends_with(".ico")                            ? "TIcon"
                            : name.ends_with(".emf") || name.ends_with(".wmf") ? "TMetafile"
                            : name.ends_with(".jpg") || name.ends_with(".jpeg") ? "TJPEGImage"
                                                                                : "TBitmap";
    std::unique_ptr<TGraphic> graphic = CreateGraphic(className);
    graphic->LoadFromBytes(std::move(bytes));
    picture.SetGraphic(std::move(graphic));
}

void TfrmPicture::SaveClick(forms::TObject*)
{
    const TGraphic* graphic = picture.Graphic();
    std::string path;
    if (!graphic || graphic->Empty() || !m_system.SavePictureFile(saveFilter, path))
        return;
    std::ofstream out(path, std::ios::binary);
    out << graphic->FileBytes();
}

void TfrmPicture::ClearClick(forms::TObject*)
{
    picture.SetGraphic(nullptr);
}

// The menu editor.

void TMenuItemsTree::SelectedFromWindow(TTreeNode* node, bool byKeyboard)
{
    TTreeView::SelectedFromWindow(node, byKeyboard);
    if (onChosen)
        onChosen(node);
}

void TMenuItemsTree::BeginDragFromWindow(TTreeNode* node, bool rightButton)
{
    if (!rightButton && node && onBeginDrag)
        onBeginDrag(node);
}

const forms::ClassInfo& TfrmMenuEditor::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TfrmMenuEditor>("TfrmMenuEditor", &TForm::StaticClass())
            .Method("NewItemClick", &TfrmMenuEditor::NewItemClick)
            .Method("DeleteClick", &TfrmMenuEditor::DeleteClick)
            .Method("TabChange", &TfrmMenuEditor::TabChange)
            .Build();
    return info;
}

TfrmMenuEditor::TfrmMenuEditor(const TMenuItem& item, TComponentInspector& owner)
    : TForm(nullptr), m_system(owner.system ? *owner.system : NoInspectorSystem())
{
    SetCaption("Menu Editor");
    SetPosition(TPosition::poScreenCenter);
    SetClientWidth(512);
    SetClientHeight(349);
    m_tree = std::make_unique<MenuEditorTree>(item, *this);
    trvItems = new TMenuItemsTree(this);
    trvItems->SetName("trvItems");
    trvItems->SetParent(this);
    trvItems->SetBounds(0, 0, 277, 310);
    trvItems->readOnly = true;
    trvItems->hideSelection = false;
    trvItems->onChosen = [this](TTreeNode* node) { ItemSelected(node); };
    trvItems->onBeginDrag = [this](TTreeNode* node) { BeginDrag(node); };
    tabItem = new TPageControl(this);
    tabItem->SetName("tabItem");
    tabItem->SetParent(this);
    tabItem->SetBounds(280, 0, 232, 310);
    for (const char* caption : {"Properties", "Events"}) {
        auto* sheet = new TTabSheet(this);
        sheet->SetPageControl(tabItem);
        sheet->SetCaption(caption);
    }
    tabItem->SetActivePageIndex(0);
    static_cast<forms::TMethod&>(tabItem->onChange) = MethodOf(*this, "TabChange");
    const TRect page = tabItem->DisplayRect();
    cinItemProperties = ItemInspector(*this, owner, 0, 0, page.Width(), page.Height());
    cinItemProperties->SetParent(tabItem->ActivePage());
    cinItemProperties->onChange = [this] { ItemChanged(); };
    AddButton(*this, "New Item", 4, 318, 80, 0, "NewItemClick")->SetTag(1);
    AddButton(*this, "New Subitem", 88, 318, 80, 0, "NewItemClick")->SetTag(2);
    AddButton(*this, "Delete Item", 172, 318, 80, 0, "DeleteClick");
    AddButton(*this, "OK", 340, 318, 80, mrOk)->SetDefault(true);
    AddButton(*this, "Cancel", 426, 318, 80, mrCancel)->cancel = true;
    Refresh();
}

TfrmMenuEditor::~TfrmMenuEditor()
{
    // The inspector lets go of the copies before the tree frees them.
    cinItemProperties->SetInstance(nullptr);
    m_tree.reset();
}

MenuEditorTree::Node* TfrmMenuEditor::NodeOf(const TTreeNode* node) const
{
    return node ? reinterpret_cast<MenuEditorTree::Node*>(node->data) : nullptr;
}

void TfrmMenuEditor::Refresh()
{
    TTreeNodes& nodes = *trvItems->Items();
    nodes.Clear();
    TTreeNode* selected = nullptr;
    const std::function<void(const std::vector<std::unique_ptr<MenuEditorTree::Node>>&,
                             TTreeNode*)>
        add = [&](const auto& children, TTreeNode* parent) {
            for (const auto& child : children) {
                TTreeNode* node = nodes.AddChild(parent, child->item->caption);
                node->data = reinterpret_cast<std::intptr_t>(child.get());
                node->expanded = true;
                if (child.get() == m_tree->Selected())
                    selected = node;
                add(child->children, node);
            }
        };
    add(m_tree->Roots(), nullptr);
    trvItems->SetSelected(selected);
    cinItemProperties->SetInstance(m_tree->Selected() ? m_tree->Selected()->item : nullptr);
}

void TfrmMenuEditor::ItemSelected(TTreeNode* node)
{
    if (MenuEditorTree::Node* chosen = NodeOf(node)) {
        // A pending text belongs to the item it was typed for.
        cinItemProperties->ApplyEditorValue();
        m_tree->Select(chosen);
    }
    cinItemProperties->SetInstance(m_tree->Selected() ? m_tree->Selected()->item : nullptr);
}

void TfrmMenuEditor::ItemChanged()
{
    MenuEditorTree::Node* selected = m_tree->Selected();
    if (!selected)
        return;
    for (TTreeNode* node : trvItems->Items()->All())
        if (NodeOf(node) == selected && node->Text() != selected->item->caption)
            node->SetText(selected->item->caption);
}

void TfrmMenuEditor::TabChange(forms::TObject*)
{
    cinItemProperties->ApplyEditorValue();
    cinItemProperties->SetParent(tabItem->ActivePage());
    cinItemProperties->SetMode(tabItem->ActivePageIndex() == 1 ? imEvents : imProperties);
}

void TfrmMenuEditor::NewItemClick(forms::TObject* sender)
{
    auto* button = dynamic_cast<TButton*>(sender);
    cinItemProperties->ApplyEditorValue();
    m_tree->NewItem(button && button->Tag() == 2);
    Refresh();
}

void TfrmMenuEditor::DeleteClick(forms::TObject*)
{
    cinItemProperties->SetInstance(nullptr);
    m_tree->DeleteSelected();
    Refresh();
}

void TfrmMenuEditor::BeginDrag(TTreeNode* node)
{
    TTreeNode* target = nullptr;
    DropPosition position = DropPosition::Child;
    if (m_system.DragTreeNode(*trvItems, node, target, position))
        DropNode(node, target, position);
}

void TfrmMenuEditor::DropNode(TTreeNode* dragged, TTreeNode* target, DropPosition position)
{
    MenuEditorTree::Node* moving = NodeOf(dragged);
    MenuEditorTree::Node* onto = NodeOf(target);
    if (!moving || !onto || moving == onto)
        return;
    cinItemProperties->ApplyEditorValue();
    m_tree->Move(moving, onto, position);
    m_tree->Select(moving);
    Refresh();
}

// The collection editor.

const forms::ClassInfo& TfrmCollectionEditor::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TfrmCollectionEditor>("TfrmCollectionEditor", &TForm::StaticClass())
            .Method("AddClick", &TfrmCollectionEditor::AddClick)
            .Method("DeleteClick", &TfrmCollectionEditor::DeleteClick)
            .Build();
    return info;
}

TfrmCollectionEditor::TfrmCollectionEditor(forms::TCollection& collection,
                                           TComponentInspector& owner)
    : TForm(nullptr), m_list(collection)
{
    SetCaption("Collection Editor");
    SetPosition(TPosition::poScreenCenter);
    SetClientWidth(449);
    SetClientHeight(349);
    lsbItems = new TListBox(this);
    lsbItems->SetName("lsbItems");
    lsbItems->SetParent(this);
    lsbItems->SetBounds(0, 0, 181, 310);
    cinItemProperties = ItemInspector(*this, owner, 184, 0, 265, 310);
    AddButton(*this, "Add", 4, 318, 70, 0, "AddClick")->SetTag(1);
    btnDelete = AddButton(*this, "Delete", 78, 318, 70, 0, "DeleteClick");
    AddButton(*this, "Close", 370, 318, 75, mrCancel)->cancel = true;
    Refresh();
}

void TfrmCollectionEditor::Refresh()
{
    lsbItems->Items()->Clear();
    for (const std::string& text : m_list.Texts())
        lsbItems->Items()->Add(text);
    int selected = -1;
    for (std::size_t i = 0; i < m_list.Selected().size(); ++i)
        if (m_list.Selected()[i] && selected < 0)
            selected = static_cast<int>(i);
    lsbItems->SetItemIndex(selected);
    btnDelete->SetEnabled(m_list.DeleteEnabled());
    // Items are not components: the inspector shows them through their collection's owner.
    cinItemProperties->SetInstance(nullptr);
}

void TfrmCollectionEditor::AddClick(forms::TObject*)
{
    m_list.Add();
    Refresh();
}

void TfrmCollectionEditor::DeleteClick(forms::TObject*)
{
    m_list.DeleteSelected();
    Refresh();
}

}  // namespace setup::ui
