#include "setup/ui/inspector/property_rows.h"

#include "setup/forms/collection.h"
#include "setup/forms/strings.h"
#include "setup/ui/graphics.h"
#include "setup/ui/menus.h"
#include "setup/ui/picture.h"

namespace setup::ui {
namespace {

using forms::TypeFlavour;
using forms::TypeKind;

const forms::ClassInfo* ClassOf(const forms::TProperty& property)
{
    const forms::TypeInfo* type = property.Type();
    return type && type->kind == TypeKind::Class ? type->classType : nullptr;
}

bool Inherits(const forms::ClassInfo* type, const forms::ClassInfo& base)
{
    return type && type->InheritsFrom(base);
}

bool IsFontName(const forms::TProperty& property)
{
    return property.Kind() == TypeKind::String && property.GetName() == "Name" &&
           dynamic_cast<const TFont*>(property.Instance()) != nullptr;
}

}  // namespace

bool IsColorProperty(const forms::TProperty& property)
{
    const forms::TypeInfo* type = property.Type();
    return type && type->kind == TypeKind::Integer && type->flavour == TypeFlavour::Color;
}

bool IsBooleanProperty(const forms::TProperty& property)
{
    const forms::TypeInfo* type = property.Type();
    return type && type->IsBoolean();
}

EditorKind EditorKindOf(const forms::TProperty& property)
{
    if (IsColorProperty(property))
        return EditorKind::Color;
    const forms::ClassInfo* type = ClassOf(property);
    if (Inherits(type, forms::TCollection::StaticClass()))
        return EditorKind::Collection;
    if (Inherits(type, TMenuItem::StaticClass()))
        return EditorKind::Menu;
    if (Inherits(type, TFont::StaticClass()))
        return EditorKind::Font;
    if (Inherits(type, forms::TStrings::StaticClass()))
        return EditorKind::Strings;
    if (Inherits(type, TPicture::StaticClass()) || Inherits(type, TGraphic::StaticClass()))
        return EditorKind::Picture;
    return EditorKind::None;
}

bool ExternalEditorEnabled(const forms::TProperty& property)
{
    return EditorKindOf(property) != EditorKind::None;
}

bool IsReadOnlyProperty(const forms::TProperty& property)
{
    const forms::ClassInfo* type = ClassOf(property);
    return type && !type->InheritsFrom(forms::TComponent::StaticClass());
}

TButtonType ButtonTypeOf(const forms::TProperty& property, bool checkBoxes)
{
    TButtonType button = btNone;
    const forms::TypeInfo* type = property.Type();
    if (ExternalEditorEnabled(property)) {
        button = btDialog;
    } else if (type) {
        switch (type->kind) {
            case TypeKind::Integer:
                button = type->flavour == TypeFlavour::Plain ? btUpDown : btDropDown;
                break;
            case TypeKind::Method:
                button = btDropDown;
                break;
            case TypeKind::Enumeration:
                button = type->IsBoolean() && checkBoxes ? btNone : btDropDown;
                break;
            case TypeKind::String:
                button = IsFontName(property) ? btDropDown : btNone;
                break;
            case TypeKind::Class:
                if (Inherits(type->classType, forms::TCollection::StaticClass()) ||
                    Inherits(type->classType, TMenuItem::StaticClass()))
                    button = btDialog;
                else if (Inherits(type->classType, forms::TComponent::StaticClass()))
                    button = btDropDown;
                break;
            default:
                break;
        }
    }
    if (button != btDialog && IsReadOnlyProperty(property))
        button = btNone;
    return button;
}

TInplaceEditorType EditorTypeOf(const forms::TProperty& property, bool checkBoxes)
{
    return IsBooleanProperty(property) && checkBoxes ? ieCheckBox : ieEdit;
}

bool CanExpand(forms::TProperty& property)
{
    if (property.Kind() == TypeKind::Set)
        return true;
    const forms::ClassInfo* type = ClassOf(property);
    if (!type || type->InheritsFrom(forms::TComponent::StaticClass()))
        return false;
    return property.Properties().Count() > 0;
}

bool SortsValues(const forms::TProperty& property)
{
    const forms::TypeInfo* type = property.Type();
    return type && ((type->kind == TypeKind::Integer && type->flavour == TypeFlavour::Cursor) ||
                    type->kind == TypeKind::Method);
}

}  // namespace setup::ui
