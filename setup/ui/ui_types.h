// Declares the type information of the library's enumerations under their own names, from
// outside any namespace:   UI_ENUM_TYPE(TAlign, "alNone", "alTop", ...)
#pragma once

#include "setup/forms/property_types.h"

#define UI_ENUM_TYPE(Enum, ...)                                                      \
    namespace setup::forms {                                                         \
    FORMS_TYPE_OF(::setup::ui::Enum, ::setup::forms::EnumType(#Enum, {__VA_ARGS__})) \
    }

// The same for the skinned controls' enumerations.
#define SKIN_ENUM_TYPE(Enum, ...)                                                          \
    namespace setup::forms {                                                               \
    FORMS_TYPE_OF(::setup::ui::skin::Enum, ::setup::forms::EnumType(#Enum, {__VA_ARGS__})) \
    }

// An event type of the library by its own name.
#define UI_EVENT_TYPE(Event)                                                               \
    namespace setup::forms {                                                               \
    FORMS_TYPE_OF(::setup::ui::Event,                                                      \
                  ::setup::forms::MethodType(#Event, typeid(::setup::ui::Event::Handler))) \
    }
