// Attribute lists written out in tests: symbol and value pairs, numbers read from the values.
#pragma once

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>

#include "setup/htmlview/parser/attributes.h"

namespace htmlview_tests {

using htmlview::Attribute;
using htmlview::AttributeList;
using htmlview::Sym;

inline AttributeList Attributes(std::initializer_list<std::pair<Sym, std::string>> values)
{
    AttributeList list;
    for (const auto& [symbol, value] : values) {
        Attribute a;
        a.symbol = symbol;
        a.value = value;
        a.number = std::atoi(value.c_str());
        list.Add(a);
    }
    return list;
}

}  // namespace htmlview_tests
