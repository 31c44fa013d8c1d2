#include "setup/htmlview/parser/attributes.h"

#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

void AttributeList::Clear()
{
    m_items.clear();
    m_id.reset();
    m_style.reset();
}

void AttributeList::Add(Attribute attribute)
{
    m_id.reset();
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

std::vector<std::string> AttributeList::Lines() const
{
    std::vector<std::string> lines;
    lines.reserve(m_items.size());
    for (const Attribute& attribute : m_items)
        lines.push_back(attribute.name + "=" + attribute.value);
    return lines;
}

std::string AttributeList::Class() const
{
    const Attribute* found = Find(Sym::Class);
    return found ? LowerAscii(found->value) : std::string();
}

const std::string& AttributeList::Id() const
{
    if (!m_id) {
        const Attribute* found = Find(Sym::Id);
        m_id = found ? LowerAscii(found->value) : std::string();
    }
    return *m_id;
}

std::string AttributeList::Title() const
{
    const Attribute* found = Find(Sym::Title);
    return found ? found->value : std::string();
}

const Properties* AttributeList::Style()
{
    m_style.reset();
    if (const Attribute* found = Find(Sym::Style)) {
        m_style = std::make_unique<Properties>();
        ReadInlineStyle(found->value, *m_style);
    }
    return m_style.get();
}

}  // namespace htmlview
