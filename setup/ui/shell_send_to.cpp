#include "setup/ui/shell_send_to.h"

#include <algorithm>
#include <cctype>

namespace setup::ui {

namespace {

char Upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Upper(x) < Upper(y); });
}

// Where the icon and the caption stand in an entry.
constexpr int kIconLeft = 8;
constexpr int kTextLeft = 32;
constexpr int kTop = 2;

}  // namespace

std::vector<SendToEntry> SendToEntries(std::vector<SendToFile> files)
{
    std::vector<SendToEntry> entries;
    for (SendToFile& file : files)
        if (!file.folder && !file.hidden)
            entries.push_back({std::move(file.name), file.iconIndex});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SendToEntry& a, const SendToEntry& b) {
                         return LessIgnoringCase(a.name, b.name);
                     });
    return entries;
}

int SendToIndexOfCommand(int id, std::size_t entryCount)
{
    return id >= 1 && static_cast<std::size_t>(id) <= entryCount ? id - 1 : -1;
}

bool IsSendToPlaceholder(int itemCount, bool onlyItemDisabled)
{
    return itemCount == 1 && onlyItemDisabled;
}

std::string SendToCaption(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    const std::size_t slash = name.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return name;
    return name.substr(0, dot);
}

TPoint MeasureSendToItem(ISendToPainter& painter, const SendToEntry& entry, int menuLineHeight)
{
    return {painter.TextWidth(SendToCaption(entry.name)) + kTextLeft, menuLineHeight + 2};
}

void DrawSendToItem(ISendToPainter& painter, const SendToEntry& entry, const TRect& rect,
                    bool selected)
{
    painter.Fill(rect, selected ? clHighlight : clMenu);
    painter.Text(rect.left + kTextLeft, rect.top + kTop, SendToCaption(entry.name),
                 selected ? clHighlightText : clMenuText);
    painter.Icon(entry.iconIndex, rect.left + kIconLeft, rect.top + kTop);
}

SendToMenuChar AnswerSendToMenuChar(const std::vector<SendToEntry>& entries, char typed,
                                    int highlighted)
{
    const char wanted = Upper(typed);
    const auto starts = [&](std::size_t i) {
        const std::string caption = SendToCaption(entries[i].name);
        return !caption.empty() && Upper(caption.front()) == wanted;
    };
    const std::size_t count = entries.size();
    const std::size_t first = highlighted < 0 ? 0 : static_cast<std::size_t>(highlighted) + 1;
    int found = -1;
    for (std::size_t step = 0; step < count && found < 0; ++step) {
        const std::size_t i = (first + step) % count;
        if (starts(i))
            found = static_cast<int>(i);
    }
    if (found < 0)
        return {};
    std::size_t matches = 0;
    for (std::size_t i = 0; i < count; ++i)
        matches += starts(i) ? 1 : 0;
    return {found, matches == 1 ? SendToMenuChar::Execute : SendToMenuChar::Select};
}

}  // namespace setup::ui
