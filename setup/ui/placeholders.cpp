#include "setup/ui/placeholders.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/form.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

void PaintPlaceholder(TControl& control, TCanvas& canvas)
{
    canvas.Brush().SetColor(control.Color());
    canvas.Pen().SetColor(clBtnShadow);
    canvas.Rectangle(control.ClientRect());
    canvas.Font().Assign(*control.Font());
    canvas.TextRect(control.ClientRect().Inflated(-2, -2), control.ClassName(),
                    tfCenter | tfVCenter | tfSingleLine | tfNoPrefix);
}

const ClassInfo& THtmlPane::StaticClass()
{
    static const ClassInfo info = ClassBuilder<THtmlPane>("THtmlPane", &TWinControl::StaticClass())
                                      .Property("DefBackground", &THtmlPane::defBackground)
                                      .Property("DefFontName", &THtmlPane::defFontName)
                                      .Property("DefFontSize", &THtmlPane::defFontSize)
                                      .Build();
    return info;
}

THtmlPane::THtmlPane(forms::TComponent* owner) : TWinControl(owner)
{
    SetParentColor(false);
    SetColor(clWindow);
    SetBounds(0, 0, 185, 89);
}

void THtmlPane::Paint(TCanvas& canvas)
{
    PaintPlaceholder(*this, canvas);
}

}  // namespace setup::ui
