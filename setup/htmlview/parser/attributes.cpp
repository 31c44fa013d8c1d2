#include "setup/htmlview/parser/attributes.h"

namespace htmlview {

void AttributeList::Add(Attribute attribute)
{
    if (m_items.size() < kMaxAttributes)
        m_items.push_back(std::move(attribute));
}

const Attribute* AttributeList::Find(Sym symbol) const
{
    for (const Attribute& attribute : m_items)
        if (attribute.symbol == symbol)
            return &attribute;
    return nullptr;
}

}  // namespace htmlview
