// Editors for property values that are objects or colours: each is made for one property, shown
// modally and freed, and reports whether the property changed. Their dialogs and forms run
// through the inspector's system, so tests answer them.
#pragma once

#include <memory>

#include "setup/forms/property_list.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/form.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/inspector/editor_models.h"
#include "setup/ui/inspector/property_rows.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/picture.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {

class TComponentInspector;
class IInspectorSystem;

class TPropertyEditor
{
public:
    TPropertyEditor(forms::TProperty& property, TComponentInspector& inspector,
                    IInspectorSystem& system)
        : m_property(property), m_inspector(inspector), m_system(system)
    {}
    virtual ~TPropertyEditor() = default;
    virtual bool Edit() = 0;

protected:
    forms::TObject* ObjectValue() const;
    // Shows the editor's form modally in the application of the inspector's form, over that
    // form; returns the modal result.
    int RunForm(TCustomForm& form);
    forms::TProperty& m_property;
    TComponentInspector& m_inspector;
    IInspectorSystem& m_system;
};

class TFontPropertyEditor : public TPropertyEditor
{
public:
    using TPropertyEditor::TPropertyEditor;
    bool Edit() override;
};

class TColorPropertyEditor : public TPropertyEditor
{
public:
    using TPropertyEditor::TPropertyEditor;
    bool Edit() override;
};

class TStringsPropertyEditor : public TPropertyEditor
{
public:
    using TPropertyEditor::TPropertyEditor;
    bool Edit() override;
};

class TPicturePropertyEditor : public TPropertyEditor
{
public:
    using TPropertyEditor::TPropertyEditor;
    bool Edit() override;
};

class TMenuPropertyEditor : public TPropertyEditor
{
public:
    using TPropertyEditor::TPropertyEditor;
    bool Edit() override;
};

class TCollectionPropertyEditor : public TPropertyEditor
{
public:
    using TPropertyEditor::TPropertyEditor;
    bool Edit() override;
};

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(forms::TProperty& property,
                                                      TComponentInspector& inspector,
                                                      IInspectorSystem& system);
// Runs the property's editor; true when the property changed.
bool EditProperty(forms::TProperty& property, TComponentInspector& inspector,
                  IInspectorSystem& system);

// "String List Editor".
class TfrmStrings : public TForm
{
public:
    FORMS_CLASS_INFO()
    TfrmStrings();
    TLabel* lblCount = nullptr;
    TRichEdit* redStrings = nullptr;
    TButton* btnClear = nullptr;
    // The count follows the lines.
    void LinesChanged(forms::TObject* sender);
    void ClearClick(forms::TObject* sender);
};

// The picture editor's box: the picture fitted and centred.
class TPictureBox : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    TPictureBox(forms::TComponent* owner, TPicture& picture);
    void Paint(TCanvas& canvas) override;

private:
    TPicture& m_picture;
};

// "Picture Editor".
class TfrmPicture : public TForm
{
public:
    FORMS_CLASS_INFO()
    TfrmPicture(IInspectorSystem& system);
    TPicture picture;
    TPictureBox* pntImage = nullptr;
    std::string openFilter = kPictureOpenFilter;
    std::string saveFilter = kPictureSaveFilter;
    void LoadClick(forms::TObject* sender);
    void SaveClick(forms::TObject* sender);
    void ClearClick(forms::TObject* sender);

private:
    IInspectorSystem& m_system;
};

// The menu editor's tree view: tells the form of the node chosen and of a node dragged.
class TMenuItemsTree : public TTreeView
{
public:
    using TTreeView::TTreeView;
    std::function<void(TTreeNode* node)> onChosen;
    std::function<void(TTreeNode* node)> onBeginDrag;
    void SelectedFromWindow(TTreeNode* node, bool byKeyboard) override;
    void BeginDragFromWindow(TTreeNode* node, bool rightButton) override;
};

// "Menu Editor" and "Collection Editor": the entries on the left, an inspector of the selected
// entry on the right.
class TfrmMenuEditor : public TForm
{
public:
    FORMS_CLASS_INFO()
    TfrmMenuEditor(const TMenuItem& item, TComponentInspector& owner);
    ~TfrmMenuEditor() override;
    MenuEditorTree& Tree() { return *m_tree; }
    TMenuItemsTree* trvItems = nullptr;
    TPageControl* tabItem = nullptr;
    TComponentInspector* cinItemProperties = nullptr;
    void NewItemClick(forms::TObject* sender);
    void DeleteClick(forms::TObject* sender);
    // Properties or events of the selected item.
    void TabChange(forms::TObject* sender);
    // The tree view shows the tree, the selected node's copy in the inspector.
    void Refresh();
    void ItemSelected(TTreeNode* node);
    // A node dragged onto another, dropped before, after or into it.
    void DropNode(TTreeNode* dragged, TTreeNode* target, DropPosition position);
    MenuEditorTree::Node* NodeOf(const TTreeNode* node) const;

private:
    void BeginDrag(TTreeNode* node);
    // The inspector changed the selected item: its caption is the node's text.
    void ItemChanged();
    std::unique_ptr<MenuEditorTree> m_tree;
    IInspectorSystem& m_system;
};

class TfrmCollectionEditor : public TForm
{
public:
    FORMS_CLASS_INFO()
    TfrmCollectionEditor(forms::TCollection& collection, TComponentInspector& owner);
    CollectionEditorList& List() { return m_list; }
    TListBox* lsbItems = nullptr;
    TButton* btnDelete = nullptr;
    TComponentInspector* cinItemProperties = nullptr;
    void AddClick(forms::TObject* sender);
    void DeleteClick(forms::TObject* sender);
    void Refresh();

private:
    CollectionEditorList m_list;
};

}  // namespace setup::ui
