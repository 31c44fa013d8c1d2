// The common controls of a page: track bars, progress bars, up-down buttons, animations and tree
// views. Ranges and positions are kept consistent in the fields, whatever order a form file
// stores them in.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/ui/control.h"

namespace setup::ui {

enum TTrackBarOrientation
{
    trHorizontal,
    trVertical,
};
enum TTickMark
{
    tmBottomRight,
    tmTopLeft,
    tmBoth,
};
enum TTickStyle
{
    tsNone,
    tsAuto,
    tsManual,
};
enum TProgressBarOrientation
{
    pbHorizontal,
    pbVertical,
};
enum TProgressBarStyle
{
    pbstNormal,
    pbstMarquee,
};
enum TUDOrientation
{
    udHorizontal,
    udVertical,
};
enum TUDAlignButton
{
    udLeft,
    udRight,
};
enum TCommonAVI
{
    aviNone,
    aviFindFolder,
    aviFindFile,
    aviFindComputer,
    aviCopyFiles,
    aviCopyFile,
    aviRecycleFile,
    aviEmptyRecycle,
    aviDeleteFile,
};

// Min, Max and Position with Position kept in range once the form is read.
class TRangeControl : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    using TWinControl::TWinControl;

    std::int32_t Min() const { return m_min; }
    void SetMin(std::int32_t value);
    std::int32_t Max() const { return m_max; }
    void SetMax(std::int32_t value);
    std::int32_t Position() const { return m_position; }
    virtual void SetPosition(std::int32_t value);
    void Loaded() override;

protected:
    std::int32_t Clamped(std::int32_t value) const;
    std::int32_t m_min = 0;
    std::int32_t m_max = 10;
    std::int32_t m_position = 0;
};

class TTrackBar : public TRangeControl
{
public:
    FORMS_CLASS_INFO()
    explicit TTrackBar(forms::TComponent* owner);

    void SetPosition(std::int32_t value) override;
    TTrackBarOrientation orientation = trHorizontal;
    std::int32_t frequency = 1;
    TTickMark tickMarks = tmBottomRight;
    TTickStyle tickStyle = tsAuto;
    std::int32_t lineSize = 1;
    std::int32_t pageSize = 2;

    void PositionFromWindow(std::int32_t position);
    TNotifyEvent onChange;
};

class TProgressBar : public TRangeControl
{
public:
    FORMS_CLASS_INFO()
    explicit TProgressBar(forms::TComponent* owner);

    TProgressBarOrientation orientation = pbHorizontal;
    bool smooth = false;
    std::int32_t step = 10;
    TProgressBarStyle Style() const { return m_style; }
    void SetStyle(TProgressBarStyle style);
    std::int32_t marqueeInterval = 10;
    // Advances by Step, wrapping to Min past Max.
    void StepIt();

private:
    TProgressBarStyle m_style = pbstNormal;
};

class TUpDown : public TRangeControl
{
public:
    FORMS_CLASS_INFO()
    explicit TUpDown(forms::TComponent* owner);

    // The associated control shows the position as its text.
    TWinControl* Associate() const { return m_associate; }
    void SetAssociate(TWinControl* control);
    void SetPosition(std::int32_t value) override;
    std::int32_t increment = 1;
    bool wrap = false;
    bool arrowKeys = true;
    bool thousands = true;
    TUDOrientation orientation = udVertical;
    TUDAlignButton alignButton = udRight;

    // One step up (positive) or down, wrapping when asked, as the arrows do.
    void StepFromWindow(int direction);
    void PositionFromWindow(std::int32_t position);
    void Loaded() override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    void UpdateAssociate();
    TWinControl* m_associate = nullptr;
};

class TAnimate : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TAnimate(forms::TComponent* owner);

    bool Active() const { return m_active; }
    // Playing needs the window; without one the flag is kept for when it exists.
    void SetActive(bool active);
    TCommonAVI commonAVI = aviNone;
    std::string fileName;
    std::int32_t repetitions = 0;
    std::int16_t startFrame = 1;
    std::int16_t stopFrame = 0;
    bool center = true;
    bool transparent = true;
    bool timers = false;

private:
    bool m_active = false;
};

class TTreeNodes;
class TImageList;

class TTreeNode
{
public:
    TTreeNode(TTreeNodes& owner, TTreeNode* parent, std::string text);

    const std::string& Text() const { return m_text; }
    void SetText(std::string text);
    TTreeNode* Parent() const { return m_parent; }
    const std::vector<std::unique_ptr<TTreeNode>>& Children() const { return m_children; }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index) { m_imageIndex = index; }
    // What the program attaches (a component index of the component selector).
    std::intptr_t data = 0;
    bool expanded = false;
    // The picture of the selected node; -1 shows the image index.
    int selectedIndex = -1;
    // The overlay drawn over the picture (0 the first); -1 for none.
    int overlayIndex = -1;
    // Drawn dimmed, as hidden items are.
    bool cut = false;
    // The window offers to expand the node before its children are added.
    bool hasChildren = false;
    // The texts of the node and its ancestors, the root first, joined by the separator.
    std::string Path(char separator) const;

private:
    friend class TTreeNodes;
    TTreeNodes& m_owner;
    TTreeNode* m_parent;
    std::string m_text;
    int m_imageIndex = -1;
    std::vector<std::unique_ptr<TTreeNode>> m_children;
};

// The nodes of a tree view. Their form-file data is kept as read, so a page keeps its nodes when
// written again; nodes are otherwise added by code.
class TTreeNodes : public forms::TPersistent
{
public:
    FORMS_CLASS_INFO()

    const std::vector<std::unique_ptr<TTreeNode>>& Roots() const { return m_roots; }
    // A new last child of the parent (a new root without one).
    TTreeNode* AddChild(TTreeNode* parent, std::string text);
    void Delete(TTreeNode* node);
    void Clear();
    std::size_t Count() const;
    // Every node, depth first.
    std::vector<TTreeNode*> All() const;
    // Orders the children of the parent (the roots without one); `less` as for std::sort.
    void SortChildren(TTreeNode* parent,
                      const std::function<bool(const TTreeNode&, const TTreeNode&)>& less);

    std::function<void()> OnChange;
    void DefineProperties(forms::PropertyDefiner& definer) override;
    void Assign(const forms::TPersistent& source) override;

private:
    friend class TTreeNode;
    void Changed();
    std::vector<std::unique_ptr<TTreeNode>> m_roots;
    std::string m_storedData;
};

struct TTVChangedEvent : forms::TEvent<TTreeNode*>
{
};

class TTreeView : public TWinControl
{
public:
    FORMS_CLASS_INFO()
    explicit TTreeView(forms::TComponent* owner);

    TTreeNodes* Items() const { return m_items.get(); }
    void SetItems(TTreeNodes* items) { m_items->Assign(*items); }
    TTreeNode* Selected() const { return m_selected; }
    void SetSelected(TTreeNode* node);
    bool showButtons = true;
    bool showLines = true;
    bool showRoot = true;
    bool readOnly = false;
    bool hideSelection = true;
    std::int32_t indent = 19;
    // The nodes' pictures by their image index; set by code, and it must outlive the tree's window.
    TImageList* images = nullptr;
    // The nodes show the system's small icons instead.
    bool systemImages = false;

    // A selection moved with the keyboard may be published late, once the moves stop.
    virtual void SelectedFromWindow(TTreeNode* node, bool byKeyboard = false);
    // The user opened the node in the window; told once the window is done with it.
    virtual void ExpandedFromWindow(TTreeNode* node) {}
    TTVChangedEvent onChange;
    // The user asked for the context menu of the node (none: of no node), at a screen point.
    virtual void ContextMenuFromWindow(TTreeNode* node, int x, int y) {}
    // The user began dragging the node.
    virtual void BeginDragFromWindow(TTreeNode* node, bool rightButton) {}
    // The node a drag would drop on; none for none.
    TTreeNode* DropHighlight() const { return m_dropHighlight; }
    void SetDropHighlight(TTreeNode* node);

    // Starts editing the node's caption in the window, when the node may be edited.
    void EditNode(TTreeNode* node);
    TTreeNode* EditingNode() const { return m_editing; }
    virtual bool CanEditNode(const TTreeNode* node) const { return node && !readOnly; }
    // Editing in the window ended: with the new text, or none when it was cancelled.
    virtual void EditedFromWindow(TTreeNode* node, const std::string* text);

private:
    std::unique_ptr<TTreeNodes> m_items;
    TTreeNode* m_selected = nullptr;
    TTreeNode* m_editing = nullptr;
    TTreeNode* m_dropHighlight = nullptr;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TTrackBarOrientation, "trHorizontal", "trVertical")
UI_ENUM_TYPE(TTickMark, "tmBottomRight", "tmTopLeft", "tmBoth")
UI_ENUM_TYPE(TTickStyle, "tsNone", "tsAuto", "tsManual")
UI_ENUM_TYPE(TProgressBarOrientation, "pbHorizontal", "pbVertical")
UI_ENUM_TYPE(TProgressBarStyle, "pbstNormal", "pbstMarquee")
UI_ENUM_TYPE(TUDOrientation, "udHorizontal", "udVertical")
UI_ENUM_TYPE(TUDAlignButton, "udLeft", "udRight")
UI_ENUM_TYPE(TCommonAVI, "aviNone", "aviFindFolder", "aviFindFile", "aviFindComputer",
             "aviCopyFiles", "aviCopyFile", "aviRecycleFile", "aviEmptyRecycle", "aviDeleteFile")
UI_EVENT_TYPE(TTVChangedEvent)
