// A link's destination, and the numbering that lets every piece of one link (text runs, images,
// focus controls) be found as one.
#pragma once

#include <string>

namespace htmlview {

// One per document: each assigned destination takes the next number.
class LinkNumbers
{
public:
    int Next() { return m_next++; }

private:
    int m_next = 0;
};

struct UrlTarget
{
    std::string url;
    std::string target;
    int linkNumber = 0;
    int tabIndex = 0;

    // A new link: URL and target with the next link number.
    void Assign(std::string newUrl, std::string newTarget, LinkNumbers& numbers)
    {
        url = std::move(newUrl);
        target = std::move(newTarget);
        linkNumber = numbers.Next();
    }
    void Clear() { *this = UrlTarget(); }
};

}  // namespace htmlview
