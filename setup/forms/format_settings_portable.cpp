// Off Windows there is no user locale: the defaults stand in for it.
#include "setup/forms/format_settings.h"

namespace setup::forms {

FormatSettings SystemFormatSettings()
{
    return {};
}

}  // namespace setup::forms
