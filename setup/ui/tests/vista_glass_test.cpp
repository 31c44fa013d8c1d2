// The glass component on a form with no window: the margins are the form's own (held back while
// a page file is read), and switching glass on buffers exactly the listed kinds of control,
// except on a form whose Tag keeps its own look.
#include <gtest/gtest.h>

#include "setup/forms/class_builder.h"
#include "setup/ui/common_controls.h"
#include "setup/ui/containers.h"
#include "setup/ui/form.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/vista_glass.h"

namespace setup::ui {
namespace {

// A class of the page's own, derived from a listed one.
class TNamedEdit : public TEdit
{
public:
    FORMS_CLASS_INFO()
    using TEdit::TEdit;
};

const forms::ClassInfo& TNamedEdit::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TNamedEdit>("TNamedEdit", &TEdit::StaticClass()).Build();
    return info;
}

TEST(VistaGlass, MarginsAreTheFormsAndWaitForTheEndOfLoading)
{
    TForm form;
    auto* glass = new TVistaGlass(&form);
    glass->SetGlassTop(30);
    EXPECT_EQ(form.GlassFrame().top, 30);
    form.SetGlassFrame({false, 1, 2, 3, 4, false});
    EXPECT_EQ(glass->GlassLeft(), 1);  // read back from the form

    glass->BeginLoading();
    glass->SetGlassLeft(12);
    glass->SetSheetofGlass(true);
    EXPECT_EQ(form.GlassFrame().left, 1);
    EXPECT_FALSE(form.GlassFrame().sheetOfGlass);
    glass->Loaded();
    EXPECT_EQ(form.GlassFrame().left, 12);
    EXPECT_TRUE(form.GlassFrame().sheetOfGlass);
}

TEST(VistaGlass, GlassEnabledBuffersTheListedControlsUnlessTheFormKeepsItsLook)
{
    for (const int tag : {0, 1}) {
        SCOPED_TRACE(tag);
        TForm form;
        form.SetTag(tag);
        auto* edit = new TEdit(&form);
        auto* derived = new TNamedEdit(&form);
        auto* tree = new TTreeView(&form);
        auto* sheet = new TTabSheet(&form);  // not listed
        auto* glass = new TVistaGlass(&form);
        glass->SetGlassEnabled(true);
        EXPECT_TRUE(glass->GlassEnabled());
        const bool follows = tag != 1;
        EXPECT_EQ(form.GlassFrame().enabled, follows);
        EXPECT_EQ(form.DoubleBuffered(), follows);
        EXPECT_EQ(edit->DoubleBuffered(), follows);
        EXPECT_EQ(derived->DoubleBuffered(), follows);
        EXPECT_EQ(tree->DoubleBuffered(), follows);
        EXPECT_FALSE(sheet->DoubleBuffered());

        glass->SetGlassEnabled(false);
        EXPECT_FALSE(edit->DoubleBuffered());
        EXPECT_FALSE(form.GlassFrame().enabled);
    }
}

}  // namespace
}  // namespace setup::ui
