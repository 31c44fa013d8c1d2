// Turns live components into a form tree, the reverse of the component reader: the root's record
// holds its published and defined properties, and every component the root owns gets a record
// nested under its parent component's (at the top when it has none).
#pragma once

#include "setup/forms/component.h"
#include "setup/forms/form_tree.h"

namespace setup::forms {

// A property is stored when it differs from a new object of the same class, so a form holds only
// what was changed; a class that cannot be created stores every property that has a value. Owned
// objects (a font, a string list) store their properties under dotted names, collections as
// collection values, component references and event handlers by name. A reference to a component
// outside the root or a handler that is not the root's cannot be stored and raises EFilerError.
FormObject WriteRootComponent(TComponent& root);

}  // namespace setup::forms
