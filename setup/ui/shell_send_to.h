// The Send To submenu the shell controls fill and draw themselves when the shell's context menu
// cannot: one owner-drawn entry for each file of the user's Send To folder, named without its
// extension, with its small icon, chosen by its first letter too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/ui/geometry.h"
#include "setup/ui/graphics.h"

namespace setup::ui {

inline constexpr TColor clMenu = TColor(static_cast<std::int32_t>(0xFF000004));
inline constexpr TColor clMenuText = TColor(static_cast<std::int32_t>(0xFF000007));

struct SendToFile
{
    std::string name;
    bool folder = false;
    bool hidden = false;
    // Its small system icon; -1 when the shell could not name the file.
    int iconIndex = -1;
};

struct SendToEntry
{
    std::string name;
    int iconIndex = -1;
};

// The entries of the Send To folder's files: folders and hidden files left out, sorted by name
// regardless of letter case.
std::vector<SendToEntry> SendToEntries(std::vector<SendToFile> files);

// The menu ids of the entries are their index + 1, below the shell's own commands.
inline int SendToCommandId(std::size_t index)
{
    return static_cast<int>(index) + 1;
}
// The entry of a chosen id; -1 when the id is no Send To entry of the list.
int SendToIndexOfCommand(int id, std::size_t entryCount);

// The submenu the shell leaves as a single disabled placeholder is Send To, to be filled.
bool IsSendToPlaceholder(int itemCount, bool onlyItemDisabled);

// The entry's caption: its file name without the extension.
std::string SendToCaption(const std::string& name);

// What drawing an entry needs of the system.
class ISendToPainter
{
public:
    virtual ~ISendToPainter() = default;
    virtual int TextWidth(const std::string& text) = 0;
    virtual void Fill(const TRect& rect, TColor colour) = 0;
    virtual void Text(int x, int y, const std::string& text, TColor colour) = 0;
    virtual void Icon(int iconIndex, int x, int y) = 0;
};

// The entry's size: its caption's width and room for the icon; one menu line and a little.
TPoint MeasureSendToItem(ISendToPainter& painter, const SendToEntry& entry, int menuLineHeight);
void DrawSendToItem(ISendToPainter& painter, const SendToEntry& entry, const TRect& rect,
                    bool selected);

// The answer to a typed character in the Send To menu.
struct SendToMenuChar
{
    enum Action
    {
        None = 1,
        Execute = 2,
        Select = 3,
    };
    int index = 0;
    Action action = None;
};

// The first entry after the highlighted one (-1 for none), then from the top, whose caption
// starts with the character, letter case aside; it runs at once when no other entry starts so.
SendToMenuChar AnswerSendToMenuChar(const std::vector<SendToEntry>& entries, char typed,
                                    int highlighted);

}  // namespace setup::ui
