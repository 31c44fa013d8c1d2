// The process's ANSI code page, through WideCharToMultiByte.
#include <windows.h>

#include "core/text_convert.h"
#include "setup/forms/ansi_code_page.h"

namespace setup::forms {
namespace {

class ProcessCodePage final : public IAnsiCodePage
{
public:
    std::string FromUtf16(std::u16string_view text) const override
    {
        static_assert(sizeof(wchar_t) == sizeof(char16_t));
        return core::WideToAnsi(
            std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
    }
};

}  // namespace

const IAnsiCodePage& SystemAnsiCodePage()
{
    static const ProcessCodePage codePage;
    return codePage;
}

}  // namespace setup::forms
