// The square that stands on the form for a component with no window or picture of its own, so
// it can be seen, selected and moved; where it stands is the component's design position.
#pragma once

#include "setup/ui/control.h"

namespace setup::ui {

class TFormDesigner;
class TLabel;

class TComponentContainer : public TCustomControl
{
public:
    FORMS_CLASS_INFO()
    static constexpr int kSize = 28;

    TComponentContainer(forms::TComponent* owner, TFormDesigner* designer,
                        forms::TComponent* component);

    TFormDesigner* Designer() const { return m_designer; }
    forms::TComponent* Component() const { return m_component; }
    // The picture's resource name: the class name in upper case.
    std::string PictureName() const;
    TLabel* CaptionLabel() const { return m_captionLabel; }
    void UpdateCaption();

    // Moves store the design position; the size stays 28 by 28.
    void SetBounds(int left, int top, int width, int height) override;
    void Paint(TCanvas& canvas) override;

protected:
    void Notification(forms::TComponent* component, forms::Operation operation) override;

private:
    TFormDesigner* m_designer;
    forms::TComponent* m_component;
    TLabel* m_captionLabel = nullptr;
};

}  // namespace setup::ui
