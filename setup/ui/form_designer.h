// The component that reads a page file into a form: the file's components join the form's own,
// read errors are skipped unless a handler says otherwise, and a name already taken on the form
// gives way to one made from the class name. It can also turn the form into a design surface:
// controls are selected, moved and sized with the mouse and keys (designer/ holds the parts).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/class_info.h"
#include "setup/forms/component.h"
#include "setup/forms/component_reader.h"
#include "setup/forms/strings.h"
#include "setup/ui/designer/design_message.h"
#include "setup/ui/designer/design_rules.h"
#include "setup/ui/designer/design_surface.h"
#include "setup/htmlview/images/pixel_image.h"
#include "setup/ui/form.h"

namespace setup::ui {

class TComponentContainer;
class TfrmAlignmentPalette;
class TGrabHandles;
class TPopupMenu;

// How LoadFromFile reads the file.
enum class FormFileLayout
{
    Binary = 0,  // a resource file holding one form
    Text = 1,
};

// The designer's own errors.
class EFormDesigner : public rtl::Exception
{
public:
    using Exception::Exception;
};

enum TProtectMode
{
    pmUnselect,
    pmLockKeyboard,
};
enum TMessageProcessor
{
    mpEvent,
    mpHook,
};
enum TAlignmentPaletteOption
{
    apAutoShow,
    apStayOnTop,
    apShowHints,
    apFlatButtons,
};
using TAlignmentPaletteOptions = TSet<TAlignmentPaletteOption>;

enum class DragState
{
    None,
    MoveOrSize,
    Band,
};

class TFormDesigner : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TFormDesigner(forms::TComponent* owner);
    ~TFormDesigner() override;

    // The form given to the designer, else the owner when that is a form, else none.
    TCustomForm* Form() const;
    void SetForm(TCustomForm* form);

    // The classes a file may name; none reads no component.
    const forms::ClassRegistry* registry = nullptr;
    // False adds the file's components beside those the form has.
    bool clearBeforeLoad = true;
    // Told of each read error; `handled` starts true, and false ends the load with the error.
    std::function<void(forms::ComponentReader& reader, const std::string& message, bool& handled)>
        onReadError;

    // Reads the file into the form; a file that cannot be opened or read raises, and what was
    // read before the failure stays on the form. Does nothing without a form.
    void LoadFromFile(const std::string& path, FormFileLayout layout);
    // The form as a form file (the designer and the placeholders left out), for saving edits.
    forms::FormObject WriteForm();
    void SaveToFile(const std::string& path, FormFileLayout layout);
    // Frees every component of the form but the designer.
    void Clear();

    // Placeholders of the non-visual components.
    bool ShowNonVisual() const { return m_showNonVisual; }
    void SetShowNonVisual(bool show);
    bool ShowComponentCaptions() const { return m_showComponentCaptions; }
    void SetShowComponentCaptions(bool show);
    void CreateContainers();
    void DestroyContainers();
    void UpdateContainers();
    TComponentContainer* FindContainer(const forms::TComponent* component) const;
    std::string GetComponentCaption(const forms::TComponent* component) const;
    virtual std::string GetComponentHint(const forms::TComponent* component) const;

    std::function<void(forms::TComponent& component, bool& editable)> onComponentEditable;
    std::function<void(forms::TComponent& component, std::string& text)> onComponentCaption;
    std::function<void(forms::TComponent& component, std::string& text)> onComponentHint;

    // Design mode.
    bool Active() const { return m_active; }
    void SetActive(bool active);
    // How messages reach the designer; kept while design mode is on.
    TMessageProcessor MessageProcessor() const { return m_messageProcessor; }
    void SetMessageProcessor(TMessageProcessor processor);
    // The window side; none draws nothing.
    IDesignSurface* surface = nullptr;

    std::int32_t GridStep() const { return m_gridStep; }
    void SetGridStep(std::int32_t step);
    std::int32_t GrabSize() const { return m_grabSize; }
    void SetGrabSize(std::int32_t size);
    bool snapToGrid = false;
    // Changing it repaints the form; a change of the step or the colours asks UpdateGrid.
    bool displayGrid = false;
    TColor designerColor = clNone;
    TColor gridColor = clNone;
    bool showMoveSizeHint = true;
    bool showComponentHint = false;
    bool keySelect = true;
    bool keyMove = true;
    TAlignmentPaletteOptions alignmentPalette{(1u << apStayOnTop) | (1u << apShowHints)};
    TAlignmentPaletteOptions AlignmentPalette() const { return alignmentPalette; }
    void SetAlignmentPalette(TAlignmentPaletteOptions options);
    TfrmAlignmentPalette* Palette() const { return m_palette; }
    TColor normalGrabBorder = clBlack;
    TColor normalGrabFill = clBlack;
    TColor multiGrabBorder = clGray;
    TColor multiGrabFill = clGray;
    TColor lockedGrabBorder = clBlack;
    TColor lockedGrabFill = clGray;
    TProtectMode protectMode = pmUnselect;
    bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool multi);
    TPopupMenu* popupMenu = nullptr;
    TWinControl* DesignControl() const { return m_designControl; }
    void SetDesignControl(TWinControl* control);

    // The three rules; a change while active drops a first control that now falls under one.
    const NameRule& LockedRule() const { return m_locked; }
    const NameRule& ProtectedRule() const { return m_protected; }
    const NameRule& TransparentRule() const { return m_transparent; }
    void SetLockedRule(NameRule rule);
    void SetProtectedRule(NameRule rule);
    void SetTransparentRule(NameRule rule);
    // The rules as published: name lists, inverse flags and children modes.
    forms::TStrings* LockedControls() const { return m_lockedList.get(); }
    void SetLockedControls(forms::TStrings* list) { m_lockedList->Assign(*list); }
    bool LockedInverse() const { return m_locked.inverse; }
    void SetLockedInverse(bool inverse);
    TChildrenMode LockChildren() const { return m_locked.children; }
    void SetLockChildren(TChildrenMode mode);
    forms::TStrings* ProtectedControls() const { return m_protectedList.get(); }
    void SetProtectedControls(forms::TStrings* list) { m_protectedList->Assign(*list); }
    bool ProtectedInverse() const { return m_protected.inverse; }
    void SetProtectedInverse(bool inverse);
    TChildrenMode ProtectChildren() const { return m_protected.children; }
    void SetProtectChildren(TChildrenMode mode);
    forms::TStrings* TransparentControls() const { return m_transparentList.get(); }
    void SetTransparentControls(forms::TStrings* list) { m_transparentList->Assign(*list); }
    bool TransparentInverse() const { return m_transparent.inverse; }
    void SetTransparentInverse(bool inverse);
    TChildrenMode TransparentChildren() const { return m_transparent.children; }
    void SetTransparentChildren(TChildrenMode mode);
    bool IsLocked(const forms::TComponent* component) const;
    bool IsTransparent(const forms::TComponent* component) const;
    bool IsProtected(const forms::TComponent* component) const;

    // The selection, the most recently added first.
    std::size_t ControlCount() const { return m_selection.size(); }
    TControl* Controls(int index) const;
    // The first selected control, or the component a first placeholder stands for.
    forms::TComponent* Control() const;
    void SetControl(forms::TComponent* component);
    void Select(TControl* control);
    void AddControl(TControl* control);
    void RemoveControl(TControl* control);
    void ClearSelection() { Select(nullptr); }
    bool IsSelected(const TControl* control) const;

    void Align(int horizontal, int vertical);
    void Update();
    void UpdateGrabs();
    // Builds the grid tile again from the step and colours and repaints the form.
    void UpdateGrid();
    // The grid over the form's client area, while design mode is on and the grid shown.
    void PaintGrid(TCanvas& canvas);
    // The application's queue ran empty: controls take the designing state, several selected
    // controls get their marks back.
    void Idle();
    void CancelDrag();
    void BeginUpdate() { ++m_updateCount; }
    int UpdateCount() const { return m_updateCount; }
    void EndUpdate();
    TGrabHandles* GrabHandles() const { return m_grabHandles; }
    DragState Dragging() const { return m_drag; }
    int BusyCount() const { return m_busy; }

    // One queued message; a swallowed one has its code set to 0.
    virtual void HandleMessage(DesignMessage& message);
    TControl* ControlAtMessage(const DesignMessage& message) const;
    TControl* FindNextControl(bool forward) const;

    // Events.
    std::function<void(TControl* control)> onSelectControl;
    std::function<void(TControl* control)> onAddControl;
    std::function<void(TControl* control)> onDeleteControl;
    std::function<void(TControl* control)> onMoveSizeControl;
    std::function<void(TControl* control)> onControlDblClick;
    std::function<void()> onChange;
    std::function<void()> onSelectionChange;
    std::function<void()> onActivate;
    std::function<void()> onDeactivate;
    std::function<void(std::uint16_t& key, TShiftState shift)> onKeyDown;
    std::function<void(std::uint16_t& key, TShiftState shift)> onKeyUp;
    std::function<void(DesignMessage& message)> onMessage;
    std::function<void(TControl* control, TRect& limit)> onMoveLimit;
    std::function<void(TControl* control, TPoint& minSize, TPoint& maxSize)> onSizeLimit;
    // Asked on every placing of the handles: which positions show and which take the mouse.
    std::function<void(TGrabPositions& visible, TGrabPositions& enabled)> onCustomizeGrabs;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;
    virtual void DoMoveSizeControl();
    virtual void DoChange();
    virtual void DoSelectControl(TControl* control);
    virtual void DoSelectionChange();
    virtual void DoAddControl(TControl* control);
    virtual void DoDeleteControl(TControl* control);

private:
    friend class DesignInput;
    friend class TGrabHandles;
    void NameComponent(forms::TComponent& component, const std::string& name);
    bool IsFormNameTaken(const TCustomForm& form, const std::string& name) const;
    IDesignSurface& Surface() const;
    // Each placeholder where its component's design position says.
    void PlaceContainers();
    void ProcessMessages() const { Surface().ProcessMessages(); }
    void Activate();
    void Deactivate();
    // Every control of the form that is not protected, with its children, takes the state.
    void SetControlsDesigning(bool designing);
    void InstallIdle();
    void RemoveIdle();
    // The form or a parent is the screen's active form (no known active form counts as active).
    bool FormIsActive() const;
    // The component hint follows the mouse after the application's hint pause.
    void TrackComponentHint(TControl* control);
    void StartHintTimer(int milliseconds);
    void StopHintTimer();
    void HintTimerFired();
    void RuleChanged(const NameRule& rule);
    void KeepSameParent(TControl* control);
    void DrawMarks(TControl* control);
    void Repaint(TControl* control);
    TRect DragFrameBase() const;
    void DrawFrames();
    // The selected controls' offset from the first, for the frames and the move hint.
    std::vector<TRect> FrameRects() const;

    TCustomForm* m_form = nullptr;
    bool m_containersPending = false;
    bool m_showNonVisual = true;
    bool m_showComponentCaptions = false;
    bool m_active = false;
    TMessageProcessor m_messageProcessor = mpEvent;
    std::int32_t m_gridStep = 8;
    std::int32_t m_grabSize = 5;
    bool m_multiSelect = true;
    TWinControl* m_designControl = nullptr;
    std::unique_ptr<forms::TStrings> m_lockedList;
    std::unique_ptr<forms::TStrings> m_protectedList;
    std::unique_ptr<forms::TStrings> m_transparentList;
    NameRule m_locked;
    NameRule m_protected;
    NameRule m_transparent;
    std::vector<TControl*> m_selection;
    int m_updateCount = 0;
    int m_busy = 0;
    TGrabHandles* m_grabHandles = nullptr;
    TfrmAlignmentPalette* m_palette = nullptr;
    IDesignSurface m_noSurface;

    // The editing state.
    DragState m_drag = DragState::None;
    TGrabPosition m_dragGrab = gpNone;
    TPoint m_dragStart;
    TRect m_dragRect;
    TRect m_band;  // form client coordinates
    int m_bandMoves = 0;
    TWinControl* m_bandContainer = nullptr;
    std::intptr_t m_pressLParam = -1;
    TControl* m_rightPressed = nullptr;

    // The component hint.
    TControl* m_hinted = nullptr;
    std::uintptr_t m_hintTimer = 0;
    int m_hintInterval = 0;

    // The grid tile and what it was built from.
    htmlview::PixelImage m_gridTile;
    struct GridKey
    {
        int step = 0;
        int screenWidth = 0;
        std::uint32_t background = 0;
        std::uint32_t dots = 0;
        bool operator==(const GridKey&) const = default;
    } m_gridKey;

    // The application's idle handler while design mode is on, the one it had before.
    TApplication* m_idleApplication = nullptr;
    std::function<void(bool& done)> m_savedIdle;
};

}  // namespace setup::ui

UI_ENUM_TYPE(TProtectMode, "pmUnselect", "pmLockKeyboard")
UI_ENUM_TYPE(TMessageProcessor, "mpEvent", "mpHook")
UI_ENUM_TYPE(TAlignmentPaletteOption, "apAutoShow", "apStayOnTop", "apShowHints", "apFlatButtons")
UI_ENUM_TYPE(TChildrenMode, "cmNone", "cmNormal", "cmRecurse")
