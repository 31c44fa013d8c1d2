// The properties a STYLE attribute gives an element, for tests of what is read from them.
#pragma once

#include <string_view>

#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/style/properties.h"

namespace htmlview::test_styles {

inline Properties Styled(std::string_view css)
{
    Properties properties;
    ReadInlineStyle(css, properties);
    return properties;
}

}  // namespace htmlview::test_styles
