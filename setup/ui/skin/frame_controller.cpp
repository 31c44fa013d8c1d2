#include "setup/ui/skin/frame_controller.h"

#include <algorithm>
#include <array>

#include "setup/forms/class_builder.h"
#include "setup/forms/form_tree.h"
#include "setup/ui/skin/reg_ini_file.h"

namespace setup::ui::skin {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

constexpr std::array<const char*, fkAll> kKindNames = {
    "Color",
    "FocusColor",
    "DisabledColor",
    "ReadOnlyColor",
    "ReadOnlyColorOnFocus",
    "ParentColor",
    "FlatButtonColor",
    "FlatButtons",
    "FrameColor",
    "FrameHotColor",
    "FrameHotTrack",
    "FrameHotStyle",
    "FrameSides",
    "FrameStyle",
    "FrameVisible",
    "FramingPreference",
};

}  // namespace

const ClassInfo& TSkFrameController::StaticClass()
{
    using C = TSkFrameController;
    static const ClassInfo info =
        ClassBuilder<C>("TSkFrameController", &forms::TComponent::StaticClass())
            .Property("Color", &C::Color, &C::SetColor)
            .Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor)
            .Property("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor)
            .Property("FlatButtons", &C::FlatButtons, &C::SetFlatButtons)
            .Property("FocusColor", &C::FocusColor, &C::SetFocusColor)
            .Property("FrameColor", &C::FrameColor, &C::SetFrameColor)
            .Property("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor)
            .Property("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle)
            .Property("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack)
            .Property("FrameSides", &C::FrameSides, &C::SetFrameSides)
            .Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle)
            .Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible)
            .Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference)
            .Property("ParentColor", &C::ParentColor, &C::SetParentColor)
            .Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor)
            .Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus)
            .Property("RegIniFile", &C::RegIniFile, &C::SetRegIniFile)
            .Build();
    return info;
}

TSkFrameController::TSkFrameController(forms::TComponent* owner)
    : TComponent(owner),
      m_color(clWindow),
      m_flatButtonColor(clBtnFace),
      m_disabledColor(clBtnFace),
      m_readOnlyColor(clInfoBk),
      m_focusColor(clWindow),
      m_frameColor(clBtnShadow),
      m_frameHotColor(clBtnShadow)
{
    for (TFrameSide side : {sdLeft, sdTop, sdRight, sdBottom})
        m_frameSides.Include(side);
}

TSkFrameController::~TSkFrameController()
{
    for (forms::TComponent* control : m_controls)
        control->RemoveFreeNotification(this);
}

void TSkFrameController::RegisterControl(forms::TComponent* control)
{
    if (!control || Registered(control))
        return;
    m_controls.push_back(control);
    control->FreeNotification(this);
    ApplyTo(*control, fkAll);
}

void TSkFrameController::UnregisterControl(forms::TComponent* control)
{
    const auto it = std::find(m_controls.begin(), m_controls.end(), control);
    if (it == m_controls.end())
        return;
    m_controls.erase(it);
    control->RemoveFreeNotification(this);
}

bool TSkFrameController::Registered(const forms::TComponent* control) const
{
    return std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end();
}

void TSkFrameController::EndUpdate()
{
    if (m_updating > 0 && --m_updating == 0)
        ApplyToAll(fkAll);
}

void TSkFrameController::Loaded()
{
    TComponent::Loaded();
    ApplyToAll(fkAll);
}

void TSkFrameController::Notification(forms::TComponent* component, forms::Operation operation)
{
    TComponent::Notification(component, operation);
    if (operation != forms::Operation::Remove)
        return;
    if (component == m_regIniFile)
        m_regIniFile = nullptr;
    std::erase(m_controls, component);
}

void TSkFrameController::Assign(const forms::TPersistent& source)
{
    auto* other = dynamic_cast<const TSkFrameController*>(&source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    BeginUpdate();
    for (const char* name : kKindNames) {
        const forms::PropInfo* prop = StaticClass().FindProperty(name);
        prop->set(*this, prop->get(*other));
    }
    SetRegIniFile(other->m_regIniFile);
    EndUpdate();
}

void TSkFrameController::DefineProperties(forms::PropertyDefiner& definer)
{
    // Settings of older page files.
    definer.DefineProperty(
        "FrameFlat",
        [this](const forms::FormValue& value) {
            if (value.type != forms::ValueType::True)
                return;
            SetFrameHotTrack(true);
            SetFrameStyle(fsStatus);
            SetFrameHotStyle(fsLowered);
        },
        [] { return std::optional<forms::FormValue>(); });
    definer.DefineProperty(
        "FrameFocusStyle",
        [this](const forms::FormValue& value) {
            if (value.type != forms::ValueType::Ident)
                return;
            if (const auto style = forms::EnumValue(forms::TypeOf<TFrameStyleEx>(), value.bytes))
                SetFrameHotStyle(static_cast<TFrameStyleEx>(*style));
        },
        [] { return std::optional<forms::FormValue>(); });
    definer.DefineProperty(
        "FrameFlatStyle", [](const forms::FormValue&) {},
        [] { return std::optional<forms::FormValue>(); });
}

void TSkFrameController::SetColor(TColor color)
{
    if (color == m_color)
        return;
    if (m_focusColor == m_color)
        m_focusColor = color;
    m_color = color;
    m_parentColor = false;
    ApplyToAll(fkColor);
}

void TSkFrameController::SetParentColor(bool parentColor)
{
    if (parentColor == m_parentColor)
        return;
    m_parentColor = parentColor;
    ApplyToAll(fkParentColor);
    if (!parentColor)
        ApplyToAll(fkColor);
}

void TSkFrameController::SetFrameHotTrack(bool hotTrack)
{
    if (hotTrack == m_frameHotTrack)
        return;
    m_frameHotTrack = hotTrack;
    if (hotTrack) {
        m_frameVisible = true;
        if (!HasState(forms::csLoading))
            for (TFrameSide side : {sdLeft, sdTop, sdRight, sdBottom})
                m_frameSides.Include(side);
    }
    ApplyToAll(fkFrameHotTrack);
}

void TSkFrameController::SetFrameSides(TFrameSides sides)
{
    Set(m_frameSides, sides, fkFrameSides);
}

void TSkFrameController::SetRegIniFile(TSkRegIniFile* file)
{
    if (file == m_regIniFile)
        return;
    if (m_regIniFile)
        m_regIniFile->RemoveFreeNotification(this);
    m_regIniFile = file;
    if (file)
        file->FreeNotification(this);
}

void TSkFrameController::ApplyToAll(FrameKind kind)
{
    if (m_updating > 0)
        return;
    // A control may unregister while it takes the settings.
    const std::vector<forms::TComponent*> controls = m_controls;
    for (forms::TComponent* control : controls)
        ApplyTo(*control, kind);
}

void TSkFrameController::ApplyTo(forms::TComponent& control, FrameKind kind) const
{
    std::int64_t bits = kAllFrameNotifications;
    if (const forms::PropInfo* p = control.ClassType().FindProperty("FrameControllerNotifications"))
        bits = std::get<std::int64_t>(p->get(control));
    if (auto* listener = dynamic_cast<IFramingNotification*>(&control)) {
        listener->ReceiveFramingNotification(*this);
        return;
    }
    for (int k = 0; k < fkAll; ++k) {
        if ((kind != fkAll && kind != k) || !(bits & (std::int64_t{1} << k)))
            continue;
        const forms::PropInfo* target = control.ClassType().FindProperty(kKindNames[k]);
        if (!target || !target->set)
            continue;
        target->set(control, StaticClass().FindProperty(kKindNames[k])->get(*this));
    }
}

}  // namespace setup::ui::skin
