// TVistaGlass: a non-visual component that extends the glass frame of the page it sits on and
// switches double buffering on the page's controls, so they draw correctly on glass. The margins
// and the sheet flag are the owner form's own glass settings; values a page file gives while it
// is read are held back and handed to the form once the page is loaded. A form with Tag 1 keeps
// its glass and buffering whatever the component says.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "setup/forms/component.h"
#include "setup/ui/form.h"

namespace setup::ui {

class TVistaGlass : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    using TComponent::TComponent;

    std::int32_t GlassLeft() const;
    void SetGlassLeft(std::int32_t value);
    std::int32_t GlassTop() const;
    void SetGlassTop(std::int32_t value);
    std::int32_t GlassRight() const;
    void SetGlassRight(std::int32_t value);
    std::int32_t GlassBottom() const;
    void SetGlassBottom(std::int32_t value);
    bool SheetofGlass() const;
    void SetSheetofGlass(bool value);
    bool GlassEnabled() const { return m_enabled; }
    void SetGlassEnabled(bool value);

    void Loaded() override;

private:
    TCustomForm* OwnerForm() const;
    // Outside loading the form takes the change at once; while loading it waits for Loaded.
    void Change(std::int32_t TGlassFrame::*side, std::int32_t value);

    bool m_enabled = false;
    TGlassFrame m_loaded;
    bool m_loadedAnything = false;
};

// The classes whose controls follow the glass component's double buffering (their descendants
// too).
std::span<const std::string_view> DoubleBufferedOnGlass();

}  // namespace setup::ui
