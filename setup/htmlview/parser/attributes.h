// The attributes of the tag being read.
#pragma once

#include <string>
#include <vector>

#include "setup/htmlview/parser/symbols.h"

namespace htmlview {

struct Attribute
{
    Sym symbol = Sym::UnknownAttribute;
    std::string name;   // upper case
    std::string value;  // as written, entities decoded
    int number = 0;     // the value read as a number where it is one
};

class AttributeList
{
public:
    // A tag may carry any number of attributes; past this many the rest are read and dropped.
    static constexpr std::size_t kMaxAttributes = 256;

    void Clear() { m_items.clear(); }
    void Add(Attribute attribute);
    // The first attribute with the symbol, or none.
    const Attribute* Find(Sym symbol) const;
    const std::vector<Attribute>& Items() const { return m_items; }

private:
    std::vector<Attribute> m_items;
};

}  // namespace htmlview
