// Edit masks of masked edits: "mask;save-literals;blank". Slots take letters (L, l), letters or
// digits (A, a), any character (C, c), digits (0, 9) or digits and signs (#); upper-case slot
// letters are required. '>' and '<' switch the case of what follows, '<>' turns it off, '\' makes
// the next character literal, and every other character is a literal shown as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup::ui {

struct EditMaskSlot
{
    char kind = 0;     // the mask character of a slot, 0 for a literal
    char literal = 0;  // a literal's character
    int charCase = 0;  // 1 upper, -1 lower, 0 as typed
};

struct EditMask
{
    std::vector<EditMaskSlot> slots;
    bool saveLiterals = true;
    char blank = '_';
};

EditMask ParseEditMask(std::string_view mask);
// The text the edit shows for the typed characters: each goes into the next slot it fits,
// literals are kept, characters that fit no slot are dropped and unfilled slots show the blank.
// An empty mask leaves the text as it is.
std::string ApplyEditMask(std::string_view mask, std::string_view typed);
// Whether every required slot of the shown text holds a character.
bool EditMaskComplete(std::string_view mask, std::string_view shown);

}  // namespace setup::ui
