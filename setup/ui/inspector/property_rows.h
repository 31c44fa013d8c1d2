// What kind of row a property makes in the component inspector: which button it gets, which
// in-place editor, whether an external editor opens for it, and whether it can be typed into.
#pragma once

#include "setup/forms/property_list.h"
#include "setup/ui/inspector/inspector_layout.h"

namespace setup::ui {

// The external editors.
enum class EditorKind
{
    None,
    Color,
    Collection,
    Menu,
    Font,
    Strings,
    Picture,
};

bool IsColorProperty(const forms::TProperty& property);
bool IsBooleanProperty(const forms::TProperty& property);
EditorKind EditorKindOf(const forms::TProperty& property);
bool ExternalEditorEnabled(const forms::TProperty& property);
// Objects that are not components are edited through their children or an editor, not as text.
bool IsReadOnlyProperty(const forms::TProperty& property);
TButtonType ButtonTypeOf(const forms::TProperty& property, bool checkBoxes);
TInplaceEditorType EditorTypeOf(const forms::TProperty& property, bool checkBoxes);
// Sets, and objects other than components that have properties of their own.
bool CanExpand(forms::TProperty& property);
bool SortsValues(const forms::TProperty& property);

}  // namespace setup::ui
