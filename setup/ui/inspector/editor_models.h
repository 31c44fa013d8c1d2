// The decisions of the property editors' forms, apart from their windows: the string list's
// line count text, where a picture is drawn in the picture editor's box, the menu editor's tree of
// item copies (new items, deletion, drag and drop, rebuilding the menu on OK) and the collection
// editor's list.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "setup/forms/collection.h"
#include "setup/ui/geometry.h"
#include "setup/ui/menus.h"

namespace setup::ui {

// "1 line", "0 lines", "2 lines".
std::string LineCountText(std::size_t lines);

// The rectangle a picture is stretched into in a box: its own size, or scaled down to fit with
// its aspect kept when wider or taller than the box, then centred.
TRect FitPictureRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight);

inline constexpr char kPictureOpenFilter[] =
    "All (*.bmp;*.ico;*.emf;*.wmf,*.jpg)|*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg|Bitmaps "
    "(*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles "
    "(*.wmf)|*.wmf|JPEG Images (*.jpg)|*.jpg;*.jpeg";
inline constexpr char kPictureSaveFilter[] =
    "All (*.bmp;*.ico;*.emf;*.wmf;*.jpg)|*.bmp;*.ico;*.emf;*.wmf;*.jpg|Bitmaps "
    "(*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles "
    "(*.wmf)|*.wmf|JPEG Images (*.jpg)|*.jpg";
inline constexpr char kBitmapFilter[] = "Bitmaps (*.bmp)|*.bmp";
inline constexpr char kIconFilter[] = "Icon files (*.ico)|*.ico";

enum class DropPosition
{
    Before,
    Child,
    After,
};

// Where a drop lands on the target's text rectangle: the upper third before it, the lower third
// after it, between them as its child.
DropPosition DropPositionAt(int y, int textTop, int textBottom);
// The 16 by 16 mark of a drop position, 6 pixels right of the target's text: level with its top
// before it, centred as its child, from 7 pixels above its bottom after it.
TRect DropMarkRect(const TRect& text, DropPosition position);
// A drag near an edge of the tree scrolls it: -1 within 5 pixels of the start (top or left),
// 1 within 5 pixels of the end, 0 elsewhere.
int DragScrollDirection(int at, int size);

// The menu editor's tree: copies of the edited item's sub-items, changed freely until OK builds
// the menu again from them; Cancel leaves the menu as it was.
class MenuEditorTree
{
public:
    struct Node
    {
        TMenuItem* item = nullptr;
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
        ~Node();
    };

    // `names` owns the new items (the editor form); their names are unique among its components.
    MenuEditorTree(const TMenuItem& source, forms::TComponent& names);

    const std::vector<std::unique_ptr<Node>>& Roots() const { return m_roots; }
    Node* Selected() const { return m_selected; }
    void Select(Node* node) { m_selected = node; }
    // "NewItem" and the smallest number from 1 the owner has no component named with.
    std::string NewItemName() const;
    // A new item as the selected node's last sibling, or its last child; it becomes selected.
    Node* NewItem(bool subitem);
    void DeleteSelected();
    // Moves a node by drag and drop; a drop on itself or inside itself changes nothing.
    void Move(Node* node, Node* target, DropPosition position);
    // Replaces the item's sub-items by new ones, owned by `owner`, built from the tree.
    void Apply(TMenuItem& target, forms::TComponent* owner) const;

private:
    std::vector<std::unique_ptr<Node>>& SiblingsOf(Node* node);
    std::unique_ptr<Node> Detach(Node* node);

    forms::TComponent& m_names;
    std::vector<std::unique_ptr<Node>> m_roots;
    Node* m_selected = nullptr;
};

// Copies what a menu item shows and does onto another.
void CopyMenuItem(const TMenuItem& source, TMenuItem& target);

// The collection editor's list: the items of exactly the collection's item class, as
// "index - name" texts, with adding and deleting acting on the collection at once.
class CollectionEditorList
{
public:
    explicit CollectionEditorList(forms::TCollection& collection);
    std::vector<std::string> Texts() const;
    const std::vector<forms::TCollectionItem*>& Items() const { return m_items; }
    std::vector<bool>& Selected() { return m_selected; }
    bool DeleteEnabled() const;
    // The one item shown in the inspector, none for no or several selected.
    forms::TCollectionItem* Instance() const;
    forms::TCollectionItem* Add();
    void DeleteSelected();

private:
    void Refresh();
    forms::TCollection& m_collection;
    std::vector<forms::TCollectionItem*> m_items;
    std::vector<bool> m_selected;
};

}  // namespace setup::ui
