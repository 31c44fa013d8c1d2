#include "setup/ui/edit_mask.h"

#include <cctype>

namespace setup::ui {
namespace {

bool IsSlot(char c)
{
    switch (c) {
        case 'L':
        case 'l':
        case 'A':
        case 'a':
        case 'C':
        case 'c':
        case '0':
        case '9':
        case '#':
            return true;
        default:
            return false;
    }
}

bool Required(char kind)
{
    return kind == 'L' || kind == 'A' || kind == 'C' || kind == '0';
}

bool Fits(char kind, char c)
{
    const auto u = static_cast<unsigned char>(c);
    switch (kind) {
        case 'L':
        case 'l':
            return std::isalpha(u) != 0;
        case 'A':
        case 'a':
            return std::isalnum(u) != 0;
        case 'C':
        case 'c':
            return true;
        case '0':
        case '9':
            return std::isdigit(u) != 0;
        case '#':
            return std::isdigit(u) != 0 || c == '+' || c == '-';
        default:
            return false;
    }
}

}  // namespace

EditMask ParseEditMask(std::string_view mask)
{
    EditMask result;
    // The two trailing fields, when present: ";0" or ";1" and then ";" with the blank character.
    std::string_view body = mask;
    if (body.size() >= 4 && body[body.size() - 2] == ';' && body[body.size() - 4] == ';' &&
        (body[body.size() - 3] == '0' || body[body.size() - 3] == '1')) {
        result.blank = body.back();
        result.saveLiterals = body[body.size() - 3] == '1';
        body.remove_suffix(4);
    } else if (body.size() >= 2 && body[body.size() - 2] == ';' &&
               (body.back() == '0' || body.back() == '1')) {
        result.saveLiterals = body.back() == '1';
        body.remove_suffix(2);
    }
    int charCase = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '<' && i + 1 < body.size() && body[i + 1] == '>') {
            charCase = 0;
            ++i;
        } else if (c == '>') {
            charCase = 1;
        } else if (c == '<') {
            charCase = -1;
        } else if (c == '!') {
            // Blanks lead rather than trail: the display is the same for our purposes.
        } else if (c == '\\' && i + 1 < body.size()) {
            result.slots.push_back({0, body[++i], 0});
        } else if (IsSlot(c)) {
            result.slots.push_back({c, 0, charCase});
        } else {
            result.slots.push_back({0, c, 0});
        }
    }
    return result;
}

std::string ApplyEditMask(std::string_view mask, std::string_view typed)
{
    if (mask.empty())
        return std::string(typed);
    const EditMask parsed = ParseEditMask(mask);
    std::string shown;
    std::size_t next = 0;
    for (const EditMaskSlot& slot : parsed.slots) {
        if (slot.kind == 0) {
            shown += slot.literal;
            if (next < typed.size() && typed[next] == slot.literal)
                ++next;
            continue;
        }
        while (next < typed.size() && !Fits(slot.kind, typed[next]))
            ++next;
        if (next == typed.size()) {
            shown += parsed.blank;
            continue;
        }
        const auto c = static_cast<unsigned char>(typed[next++]);
        shown += static_cast<char>(slot.charCase > 0   ? std::toupper(c)
                                   : slot.charCase < 0 ? std::tolower(c)
                                                       : c);
    }
    return shown;
}

bool EditMaskComplete(std::string_view mask, std::string_view shown)
{
    const EditMask parsed = ParseEditMask(mask);
    for (std::size_t i = 0; i < parsed.slots.size(); ++i) {
        const EditMaskSlot& slot = parsed.slots[i];
        if (!Required(slot.kind))
            continue;
        if (i >= shown.size() || shown[i] == parsed.blank || !Fits(slot.kind, shown[i]))
            return false;
    }
    return true;
}

}  // namespace setup::ui
