#include "setup/ui/vista_glass.h"

#include <algorithm>
#include <array>

#include "setup/forms/class_builder.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

// The glass-aware Tag of a page that keeps its own look.
constexpr std::int32_t kKeepsOwnGlass = 1;

bool BuffersOnGlass(const ClassInfo& type)
{
    const auto classes = DoubleBufferedOnGlass();
    for (const ClassInfo* info = &type; info; info = info->Parent())
        if (std::find(classes.begin(), classes.end(), info->Name()) != classes.end())
            return true;
    return false;
}

}  // namespace

std::span<const std::string_view> DoubleBufferedOnGlass()
{
    static constexpr std::array<std::string_view, 30> kClasses = {
        "TEdit",          "TMemo",          "TButton",           "TSkCheckBox",
        "TSkRadioButton", "TListBox",       "TComboBox",         "TGroupBox",
        "TPanel",         "TBitBtn",        "TSkBmpButton",      "TMaskEdit",
        "TStaticText",    "TPageControl",   "TRichEdit",         "TTrackBar",
        "TProgressBar",   "TUpDown",        "TAnimate",          "TCheckListBox",
        "TTreeView",      "THtmlPane",      "TFlashFrame",       "TFileListBox",
        "TDirectoryListBox", "TDriveComboBox", "TFilterComboBox", "TNsShellTree",
        "TNsShellList",   "TNsShellCombo",
    };
    return kClasses;
}

const ClassInfo& TVistaGlass::StaticClass()
{
    using G = TVistaGlass;
    static const ClassInfo info =
        ClassBuilder<G>("TVistaGlass", &forms::TComponent::StaticClass())
            .Property("GlassBottom", &G::GlassBottom, &G::SetGlassBottom)
            .Property("GlassEnabled", &G::GlassEnabled, &G::SetGlassEnabled)
            .Property("GlassLeft", &G::GlassLeft, &G::SetGlassLeft)
            .Property("GlassRight", &G::GlassRight, &G::SetGlassRight)
            .Property("GlassTop", &G::GlassTop, &G::SetGlassTop)
            .Property("SheetofGlass", &G::SheetofGlass, &G::SetSheetofGlass)
            .Build();
    return info;
}

TCustomForm* TVistaGlass::OwnerForm() const
{
    return dynamic_cast<TCustomForm*>(Owner());
}

std::int32_t TVistaGlass::GlassLeft() const
{
    const TCustomForm* form = OwnerForm();
    return form ? form->GlassFrame().left : m_loaded.left;
}

std::int32_t TVistaGlass::GlassTop() const
{
    const TCustomForm* form = OwnerForm();
    return form ? form->GlassFrame().top : m_loaded.top;
}

std::int32_t TVistaGlass::GlassRight() const
{
    const TCustomForm* form = OwnerForm();
    return form ? form->GlassFrame().right : m_loaded.right;
}

std::int32_t TVistaGlass::GlassBottom() const
{
    const TCustomForm* form = OwnerForm();
    return form ? form->GlassFrame().bottom : m_loaded.bottom;
}

bool TVistaGlass::SheetofGlass() const
{
    const TCustomForm* form = OwnerForm();
    return form ? form->GlassFrame().sheetOfGlass : m_loaded.sheetOfGlass;
}

void TVistaGlass::Change(std::int32_t TGlassFrame::*side, std::int32_t value)
{
    TCustomForm* form = OwnerForm();
    if (HasState(forms::csLoading) || !form) {
        m_loaded.*side = value;
        m_loadedAnything = true;
        return;
    }
    TGlassFrame glass = form->GlassFrame();
    glass.*side = value;
    form->SetGlassFrame(glass);
}

void TVistaGlass::SetGlassLeft(std::int32_t value)
{
    Change(&TGlassFrame::left, value);
}

void TVistaGlass::SetGlassTop(std::int32_t value)
{
    Change(&TGlassFrame::top, value);
}

void TVistaGlass::SetGlassRight(std::int32_t value)
{
    Change(&TGlassFrame::right, value);
}

void TVistaGlass::SetGlassBottom(std::int32_t value)
{
    Change(&TGlassFrame::bottom, value);
}

void TVistaGlass::SetSheetofGlass(bool value)
{
    TCustomForm* form = OwnerForm();
    if (HasState(forms::csLoading) || !form) {
        m_loaded.sheetOfGlass = value;
        m_loadedAnything = true;
        return;
    }
    TGlassFrame glass = form->GlassFrame();
    glass.sheetOfGlass = value;
    form->SetGlassFrame(glass);
}

void TVistaGlass::SetGlassEnabled(bool value)
{
    m_enabled = value;
    TCustomForm* form = OwnerForm();
    if (!form || form->Tag() == kKeepsOwnGlass)
        return;
    TGlassFrame glass = form->GlassFrame();
    glass.enabled = value;
    form->SetGlassFrame(glass);
    form->SetDoubleBuffered(value);
    for (std::size_t i = 0; i < form->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(form->Component(i));
        if (control && BuffersOnGlass(control->ClassType()))
            control->SetDoubleBuffered(value);
    }
}

void TVistaGlass::Loaded()
{
    TComponent::Loaded();
    TCustomForm* form = OwnerForm();
    if (!form)
        return;
    // The page's own margins when the file gave the component none.
    if (m_loadedAnything && form->Tag() != kKeepsOwnGlass) {
        TGlassFrame glass = m_loaded;
        glass.enabled = form->GlassFrame().enabled;
        form->SetGlassFrame(glass);
    }
    // Controls read after the component follow its buffering too.
    if (m_enabled)
        SetGlassEnabled(true);
}

}  // namespace setup::ui
