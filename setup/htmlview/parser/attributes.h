// The attributes of the tag being read.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/htmlview/parser/symbols.h"
#include "setup/htmlview/style/properties.h"

namespace htmlview {

struct Attribute
{
    Sym symbol = Sym::UnknownAttribute;
    std::string name;   // upper case
    std::string value;  // as written, entities decoded
    int number = 0;     // the value read as a number where it is one

    // A width or height written as a percentage.
    bool IsPercent() const { return value.find('%') != std::string::npos; }
};

class AttributeList
{
public:
    // A tag may carry any number of attributes; past this many the rest are read and dropped.
    static constexpr std::size_t kMaxAttributes = 256;

    void Clear();
    void Add(Attribute attribute);
    // The first attribute with the symbol, or none.
    const Attribute* Find(Sym symbol) const;
    // The value of the first attribute with the symbol; empty without one.
    std::string Text(Sym symbol) const
    {
        const Attribute* attribute = Find(symbol);
        return attribute ? attribute->value : std::string();
    }
    const std::vector<Attribute>& Items() const { return m_items; }

    // One "NAME=value" line per attribute, in source order.
    std::vector<std::string> Lines() const;
    // CLASS and ID lower-cased, TITLE as written; empty without them.
    std::string Class() const;
    const std::string& Id() const;
    std::string Title() const;
    // The STYLE attribute read as declarations, kept by the list until it is cleared or asked
    // again; none without STYLE.
    const Properties* Style();

private:
    std::vector<Attribute> m_items;
    mutable std::optional<std::string> m_id;
    std::unique_ptr<Properties> m_style;
};

}  // namespace htmlview
