// Named anchors of a document: names (upper-cased by the parser) with what they point at, for
// scrolling to "#name".
#pragma once

#include <map>
#include <memory>
#include <string>

namespace htmlview {

// Whatever a named anchor can point at.
class IAnchorTarget
{
public:
    virtual ~IAnchorTarget() = default;
    // Its position from the top of the document, in pixels.
    virtual int AnchorY() const = 0;
};

// Finds where a character of the document ended up after layout.
class ICharPositionLocator
{
public:
    virtual ~ICharPositionLocator() = default;
    // The Y of the character at this source position; none when it is not laid out.
    virtual bool YOfCharPosition(int position, int& y) const = 0;
};

// An anchor at a character position (an A NAME with text after it).
class CharPositionAnchor : public IAnchorTarget
{
public:
    CharPositionAnchor(const ICharPositionLocator& locator, int position)
        : m_locator(locator), m_position(position)
    {
    }
    int AnchorY() const override;
    int Position() const { return m_position; }

private:
    const ICharPositionLocator& m_locator;
    int m_position;
};

class AnchorNames
{
public:
    explicit AnchorNames(const ICharPositionLocator& locator) : m_locator(locator) {}

    // An object of the document, owned by the document; replaces an entry of the same name.
    void Add(const std::string& name, const IAnchorTarget& target);
    // A character position; the list owns the anchor it makes.
    void AddCharPosition(const std::string& name, int position);
    const IAnchorTarget* Find(const std::string& name) const;
    std::size_t Size() const { return m_entries.size(); }
    void Clear() { m_entries.clear(); }

private:
    struct Entry
    {
        const IAnchorTarget* target = nullptr;
        std::unique_ptr<CharPositionAnchor> owned;
    };
    const ICharPositionLocator& m_locator;
    std::map<std::string, Entry> m_entries;
};

}  // namespace htmlview
