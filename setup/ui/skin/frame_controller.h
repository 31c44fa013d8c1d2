// TSkFrameController: one place that sets the framing colours and styles of many controls. Each
// registered control takes the settings its FrameControllerNotifications bits select: through
// its own framing notification when it has one, else into its published properties of the same
// names.
#pragma once

#include <cstdint>
#include <vector>

#include "setup/forms/component.h"
#include "setup/ui/graphics.h"
#include "setup/ui/ui_types.h"

namespace setup::ui::skin {

class TSkRegIniFile;
class TSkFrameController;

enum TFrameStyleEx
{
    fsNone,
    fsFlat,
    fsGroove,
    fsBump,
    fsLowered,
    fsButtonDown,
    fsRaised,
    fsButtonUp,
    fsStatus,
    fsPopup,
    fsFlatBold,
    fsFlatRounded,
};
enum TFrameSide
{
    sdLeft,
    sdTop,
    sdRight,
    sdBottom,
};
using TFrameSides = TSet<TFrameSide>;
enum TFramingPreference
{
    fpCustomFraming,
    fpXPThemes,
};

// The settings, numbered as the notification bits of a control count them.
enum FrameKind
{
    fkColor,
    fkFocusColor,
    fkDisabledColor,
    fkReadOnlyColor,
    fkReadOnlyColorOnFocus,
    fkParentColor,
    fkFlatButtonColor,
    fkFlatButtons,
    fkFrameColor,
    fkFrameHotColor,
    fkFrameHotTrack,
    fkFrameHotStyle,
    fkFrameSides,
    fkFrameStyle,
    fkFrameVisible,
    fkFramingPreference,
    fkAll,
};
inline constexpr std::int32_t kAllFrameNotifications = 0xFFFF;

// A control that reads the controller's settings itself.
class IFramingNotification
{
public:
    virtual void ReceiveFramingNotification(const TSkFrameController& controller) = 0;

protected:
    ~IFramingNotification() = default;
};

class TSkFrameController : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    explicit TSkFrameController(forms::TComponent* owner);
    ~TSkFrameController() override;

    // Adds the control once and gives it every setting.
    void RegisterControl(forms::TComponent* control);
    void UnregisterControl(forms::TComponent* control);
    bool Registered(const forms::TComponent* control) const;
    void BeginUpdate() { ++m_updating; }
    // The last end gives every control every setting.
    void EndUpdate();
    void Loaded() override;
    void Assign(const forms::TPersistent& source) override;
    void DefineProperties(forms::PropertyDefiner& definer) override;

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool parentColor);
    TColor FlatButtonColor() const { return m_flatButtonColor; }
    void SetFlatButtonColor(TColor color) { Set(m_flatButtonColor, color, fkFlatButtonColor); }
    bool FlatButtons() const { return m_flatButtons; }
    void SetFlatButtons(bool flat) { Set(m_flatButtons, flat, fkFlatButtons); }
    TColor DisabledColor() const { return m_disabledColor; }
    void SetDisabledColor(TColor color) { Set(m_disabledColor, color, fkDisabledColor); }
    TColor ReadOnlyColor() const { return m_readOnlyColor; }
    void SetReadOnlyColor(TColor color) { Set(m_readOnlyColor, color, fkReadOnlyColor); }
    bool ReadOnlyColorOnFocus() const { return m_readOnlyColorOnFocus; }
    void SetReadOnlyColorOnFocus(bool on)
    {
        Set(m_readOnlyColorOnFocus, on, fkReadOnlyColorOnFocus);
    }
    TColor FocusColor() const { return m_focusColor; }
    void SetFocusColor(TColor color) { Set(m_focusColor, color, fkFocusColor); }
    TColor FrameColor() const { return m_frameColor; }
    void SetFrameColor(TColor color) { Set(m_frameColor, color, fkFrameColor); }
    TColor FrameHotColor() const { return m_frameHotColor; }
    void SetFrameHotColor(TColor color) { Set(m_frameHotColor, color, fkFrameHotColor); }
    bool FrameHotTrack() const { return m_frameHotTrack; }
    void SetFrameHotTrack(bool hotTrack);
    TFrameStyleEx FrameHotStyle() const { return m_frameHotStyle; }
    void SetFrameHotStyle(TFrameStyleEx style) { Set(m_frameHotStyle, style, fkFrameHotStyle); }
    TFrameSides FrameSides() const { return m_frameSides; }
    void SetFrameSides(TFrameSides sides);
    TFrameStyleEx FrameStyle() const { return m_frameStyle; }
    void SetFrameStyle(TFrameStyleEx style) { Set(m_frameStyle, style, fkFrameStyle); }
    bool FrameVisible() const { return m_frameVisible; }
    void SetFrameVisible(bool visible) { Set(m_frameVisible, visible, fkFrameVisible); }
    TFramingPreference FramingPreference() const { return m_framingPreference; }
    void SetFramingPreference(TFramingPreference p)
    {
        Set(m_framingPreference, p, fkFramingPreference);
    }
    TSkRegIniFile* RegIniFile() const { return m_regIniFile; }
    void SetRegIniFile(TSkRegIniFile* file);

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    template <class T>
    void Set(T& field, const T& value, FrameKind kind)
    {
        if (field == value)
            return;
        field = value;
        ApplyToAll(kind);
    }
    void ApplyToAll(FrameKind kind);
    void ApplyTo(forms::TComponent& control, FrameKind kind) const;

    TColor m_color;
    bool m_parentColor = false;
    TColor m_flatButtonColor;
    bool m_flatButtons = true;
    TColor m_disabledColor;
    TColor m_readOnlyColor;
    bool m_readOnlyColorOnFocus = false;
    TColor m_focusColor;
    TColor m_frameColor;
    TColor m_frameHotColor;
    bool m_frameHotTrack = false;
    TFrameStyleEx m_frameHotStyle = fsFlatBold;
    TFrameSides m_frameSides;
    TFrameStyleEx m_frameStyle = fsFlat;
    bool m_frameVisible = false;
    TFramingPreference m_framingPreference = fpXPThemes;
    TSkRegIniFile* m_regIniFile = nullptr;
    std::vector<forms::TComponent*> m_controls;
    int m_updating = 0;
};

}  // namespace setup::ui::skin

SKIN_ENUM_TYPE(TFrameStyleEx, "fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown",
               "fsRaised", "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded")
SKIN_ENUM_TYPE(TFrameSide, "sdLeft", "sdTop", "sdRight", "sdBottom")
SKIN_ENUM_TYPE(TFramingPreference, "fpCustomFraming", "fpXPThemes")
