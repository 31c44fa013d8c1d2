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

const ClassInfo& TFlashFrame::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TFlashFrame>("TFlashFrame", &TCustomPanel::StaticClass())
            .Property("AutoRegisterFlash", &TFlashFrame::autoRegisterFlash)
            .Property("AutoScale", &TFlashFrame::autoScale)
            .Property("Loop", &TFlashFrame::loop)
            .Build();
    return info;
}

const ClassInfo& TVistaGlass::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TVistaGlass>("TVistaGlass", &forms::TComponent::StaticClass())
            .Property("GlassBottom", &TVistaGlass::glassBottom)
            .Property("GlassEnabled", &TVistaGlass::glassEnabled)
            .Property("GlassLeft", &TVistaGlass::glassLeft)
            .Property("GlassRight", &TVistaGlass::glassRight)
            .Property("GlassTop", &TVistaGlass::glassTop)
            .Property("SheetofGlass", &TVistaGlass::sheetOfGlass)
            .Build();
    return info;
}

}  // namespace setup::ui
