// Off Windows there is no ANSI code page: Latin-1 stands in for it.
#include "setup/forms/ansi_code_page.h"

namespace setup::forms {

const IAnsiCodePage& SystemAnsiCodePage()
{
    static const Latin1CodePage codePage;
    return codePage;
}

}  // namespace setup::forms
