// The CSS reader over any text: as a linked sheet with a URL base and with a folder base, and as
// a STYLE attribute; every value it hands over is read as a colour, a length and a font size.
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/units.h"

namespace {

void UseValue(const std::string& value)
{
    htmlview::ParseColor(value, false);
    htmlview::LengthToPixels(value, true, 400, -1, {});
    htmlview::FontSizeToPoints(value, 12, 12, 96);
}

class ValueSheet : public htmlview::IStyleSheetTarget
{
public:
    void AddRuleValue(const std::string&, const std::string&, const std::string& value) override
    {
        UseValue(value);
    }
    int TakeDescendantNumber() override { return m_counter++; }

private:
    int m_counter = 10;
};

class ValueDeclarations : public htmlview::IDeclarationTarget
{
public:
    void Assign(const std::string&, const std::string& value) override { UseValue(value); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    ValueSheet sheet;
    htmlview::ReadStyleSheetText(text, "http://host/css/", sheet);
    htmlview::ReadStyleSheetText(text, "C:\\site\\", sheet);
    ValueDeclarations declarations;
    htmlview::ReadInlineStyle(text, declarations);
    return 0;
}
