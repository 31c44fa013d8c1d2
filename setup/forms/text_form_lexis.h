// What the text form layout accepts as a name, shared by its reader and writer.
#pragma once

#include <string_view>

namespace setup::forms {

inline bool IsIdentifierStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

inline bool IsIdentifierChar(char c)
{
    return IsIdentifierStart(c) || (c >= '0' && c <= '9');
}

// A letter or underscore, then letters, digits and underscores; `dotted` also allows dots between
// such parts (property paths, references to components of other forms).
inline bool IsFormIdentifier(std::string_view name, bool dotted)
{
    bool partStart = true;
    for (const char c : name) {
        if (partStart) {
            if (!IsIdentifierStart(c))
                return false;
            partStart = false;
        } else if (c == '.' && dotted) {
            partStart = true;
        } else if (!IsIdentifierChar(c)) {
            return false;
        }
    }
    return !partStart;
}

}  // namespace setup::forms
