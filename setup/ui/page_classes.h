// The control classes a wizard page file may name, registered in one call.
#pragma once

#include <span>

#include "setup/forms/class_info.h"

namespace setup::ui {

// The 39 page classes, in the order pages register them.
std::span<const forms::ClassInfo* const> PageClasses();
void RegisterPageClasses(forms::ClassRegistry& registry);

}  // namespace setup::ui
