// The eight small squares around the control being designed: windows of their own beside the
// control, so a press on one starts sizing from that corner or edge.
#pragma once

#include <array>

#include "setup/ui/control.h"
#include "setup/ui/designer/design_geometry.h"

namespace setup::ui {

class TFormDesigner;

class TGrabHandle : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    TGrabHandle(forms::TComponent* owner, TGrabPosition position);
    TGrabPosition Position() const { return m_position; }
    bool locked = false;
    TRect controlBounds;
    void Paint(TCanvas& canvas) override;

private:
    TGrabPosition m_position;
};

class TGrabHandles : public forms::TComponent
{
public:
    FORMS_CLASS_INFO()
    TGrabHandles(TFormDesigner& designer);

    TGrabHandle* Handle(TGrabPosition position) const { return m_handles.at(position - 1); }
    TControl* Control() const { return m_control; }
    void SetControl(TControl* control);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool Shown() const { return m_shown; }
    // Places the handles around the control (hiding them first when asked).
    void Update(bool hideFirst);

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    TFormDesigner& m_designer;
    std::array<TGrabHandle*, 8> m_handles{};
    TControl* m_control = nullptr;
    bool m_enabled = true;
    bool m_shown = false;
};

}  // namespace setup::ui
