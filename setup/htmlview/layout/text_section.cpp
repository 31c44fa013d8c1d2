#include "setup/htmlview/layout/text_section.h"

#include <algorithm>

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/layout_limits.h"

namespace htmlview {

namespace {

// Source indexes grow by this much beyond what a token needs, so that appending stays cheap.
constexpr std::size_t kSourceIndexReserve = 500;

char16_t ChangeCase(char16_t c, bool upper)
{
    // Basic Latin and Latin-1: the letters of the pages the viewer shows; others stay.
    const bool isLower = (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
    const bool isUpper = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    if (upper && isLower)
        return static_cast<char16_t>(c - 0x20);
    if (!upper && isUpper)
        return static_cast<char16_t>(c + 0x20);
    return c;
}

}  // namespace

TextSection::TextSection(Document& document, const SectionStyle& style) : SectionBase(document)
{
    fonts.push_back(std::make_unique<FontRun>(0, style.font));
    fonts.back()->title = style.title;
    justify = style.justify;
    clear = style.clear;
    lineHeight = std::min(style.lineHeight, kMaxLayoutLength);
    firstLineIndent = std::clamp(style.firstLineIndent, -kMaxLayoutLength, kMaxLayoutLength);
    // A first line never takes all of its width: the rest of the line divides by what is left.
    firstLineIndentPercent = std::clamp(style.firstLineIndentPercent, 0, 90);
}

void TextSection::AppendText(std::u16string_view token, const std::vector<int>& indexes,
                             bool noBreak, int textTransform)
{
    if (token.empty())
        return;
    const std::size_t start = text.size();
    if (sourceIndexes.capacity() < start + token.size() + 1)
        sourceIndexes.reserve(start + token.size() + kSourceIndexReserve);
    for (std::size_t i = 0; i < token.size(); ++i) {
        char16_t c = token[i];
        if (textTransform == 1 || textTransform == 2)
            c = ChangeCase(c, textTransform == 1);
        text.push_back(c);
        const int previous = sourceIndexes.empty() ? 0 : sourceIndexes.back() + 1;
        sourceIndexes.push_back(i < indexes.size() ? indexes[i] : previous);
    }
    const bool preformatted = dynamic_cast<PreformattedSection*>(this) != nullptr;
    breakFlags.append(token.size(), noBreak || preformatted ? 'n' : 'y');
    posCount = static_cast<int>(text.size());
}

void TextSection::AppendBreak(int sourceIndex)
{
    AppendText(std::u16string(1, kBreakMark), {sourceIndex}, false, 0);
}

void TextSection::ChangeFont(const ElementFont& font, const std::string& title, ScriptShift shift)
{
    const int end = static_cast<int>(text.size());
    FontRun* last = fonts.back().get();
    if (last->pos != end) {
        auto run = std::make_unique<FontRun>(end, font);
        run->link = last->link;
        run->linkStates = last->linkStates;
        last = run.get();
        fonts.push_back(std::move(run));
        if (last->IsLink())
            document.links.push_back(last);
    } else {
        last->SetFont(font);
    }
    last->title = title;
    last->shift = shift;
}

void TextSection::SetLink(const UrlTarget& target, const std::vector<ElementFont>* states)
{
    const int end = static_cast<int>(text.size());
    FontRun* last = fonts.back().get();
    if (last->pos != end) {
        auto run = std::make_unique<FontRun>(end, last->font);
        run->title = last->title;
        run->shift = last->shift;
        last = run.get();
        fonts.push_back(std::move(run));
    }
    std::erase(document.links, last);
    last->link = target;
    if (states && states->size() == 4) {
        last->linkStates = *states;
        last->SetFont((*states)[0]);
    } else {
        last->linkStates.reset();
    }
    if (last->IsLink())
        document.links.push_back(last);
}

InlineImage& TextSection::InsertImage(const AttributeList& attributes, int sourceIndex)
{
    images.push_back(std::make_unique<InlineImage>(static_cast<int>(text.size()), attributes));
    InlineImage& image = *images.back();
    AppendText(std::u16string(1, kImageMark), {sourceIndex}, false, 0);
    // A floating image may always be broken around.
    if (image.IsFloat())
        breakFlags.back() = 'y';
    return image;
}

InlineImage& TextSection::InsertControl(IInlineControl& control, const AttributeList& attributes,
                                        int sourceIndex)
{
    images.push_back(std::make_unique<InlineImage>(static_cast<int>(text.size()), attributes));
    InlineImage& image = *images.back();
    image.control = &control;
    AppendText(std::u16string(1, kControlMark), {sourceIndex}, false, 0);
    if (image.IsFloat())
        breakFlags.back() = 'y';
    return image;
}

void TextSection::RemoveChar(int offset)
{
    text.erase(text.begin() + offset);
    if (static_cast<std::size_t>(offset) < sourceIndexes.size())
        sourceIndexes.erase(sourceIndexes.begin() + offset);
    breakFlags.erase(breakFlags.begin() + offset);
    for (auto& run : fonts)
        if (run->pos > offset)
            --run->pos;
    for (auto& image : images)
        if (image->pos > offset)
            --image->pos;
    // Of two font runs now starting together the later one wins.
    for (std::size_t i = 1; i < fonts.size();) {
        if (fonts[i - 1]->pos == fonts[i]->pos) {
            std::erase(document.links, fonts[i - 1].get());
            fonts.erase(fonts.begin() + static_cast<std::ptrdiff_t>(i - 1));
        } else {
            ++i;
        }
    }
    fonts.front()->pos = 0;
}

void TextSection::CloseText()
{
    while (!text.empty() && text.front() == u' ')
        RemoveChar(0);
    for (std::size_t i = 0; i + 1 < text.size();) {
        if (text[i] == u' ' && text[i + 1] == u' ')
            RemoveChar(static_cast<int>(breakFlags[i] == 'y' ? i + 1 : i));
        else
            ++i;
    }
    for (std::size_t i = text.size(); i-- > 1;) {
        if (text[i] == u' ' && text[i - 1] == kImageMark) {
            const InlineImage* image = ImageAt(static_cast<int>(i - 1));
            if (image && image->IsFloat())
                RemoveChar(static_cast<int>(i));
        }
    }
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == kBreakMark && i > 0 && text[i - 1] == u' ') {
            RemoveChar(static_cast<int>(--i));
        } else if (text[i] == kBreakMark && i + 1 < text.size() && text[i + 1] == u' ') {
            RemoveChar(static_cast<int>(i + 1));
        } else {
            ++i;
        }
    }
    if (!text.empty() && text.back() == u' ')
        RemoveChar(static_cast<int>(text.size() - 1));
    if (text.size() > 1 && text.back() == kBreakMark)
        RemoveChar(static_cast<int>(text.size() - 1));
    NumberAndMap();
}

void TextSection::NumberAndMap()
{
    posCount = static_cast<int>(text.size());
    breakFlags.push_back('y');
    positionMap.clear();
    if (!text.empty() && !sourceIndexes.empty()) {
        for (std::size_t i = 0; i < text.size() && i < sourceIndexes.size(); ++i)
            if (i == 0 || sourceIndexes[i] != sourceIndexes[i - 1] + 1)
                positionMap.push_back({static_cast<int>(i), sourceIndexes[i]});
    }
    sourceIndexes.clear();
    sourceIndexes.shrink_to_fit();
    if (!text.empty())
        sectionNumber = ++document.sectionCount;
    m_closed = true;
}

bool TextSection::IsEmpty() const
{
    return text.empty() && !holdsAnchor && clear == ClearSide::None &&
           dynamic_cast<const PreformattedSection*>(this) == nullptr;
}

const FontRun& TextSection::FontAt(int offset) const
{
    const FontRun* found = fonts.front().get();
    for (const auto& run : fonts) {
        if (run->pos > offset)
            break;
        found = run.get();
    }
    return *found;
}

int TextSection::FontCountAt(int offset) const
{
    for (const auto& run : fonts)
        if (run->pos > offset)
            return run->pos - offset;
    return static_cast<int>(text.size()) - offset;
}

const InlineImage* TextSection::ImageAt(int offset) const
{
    for (const auto& image : images)
        if (image->pos == offset)
            return image.get();
    return nullptr;
}

int TextSection::NextObjectOffset(int offset, int end) const
{
    int next = std::min(end, offset + FontCountAt(offset));
    for (int i = offset; i < next; ++i)
        if (IsPlaceholder(text[i]))
            return i == offset ? offset + 1 : i;
    return next;
}

int TextSection::TextWidth(int start, int count, bool dropTrailing) const
{
    int end = std::min(static_cast<int>(text.size()), start + count);
    if (dropTrailing)
        while (end > start && (text[end - 1] == u' ' || text[end - 1] == kBreakMark))
            --end;
    int width = 0;
    for (int i = start; i < end;) {
        if (IsPlaceholder(text[i])) {
            const InlineImage* image = ImageAt(i);
            if (image && !image->IsFloat())
                width += image->TotalWidth();
            ++i;
            continue;
        }
        const int runEnd = NextObjectOffset(i, end);
        const FontRun& run = FontAt(i);
        std::u16string_view piece(text.data() + i, static_cast<std::size_t>(runEnd - i));
        width += document.measurer.TextWidth(run.font.request, piece) + run.overhang;
        i = runEnd;
    }
    return width;
}

void TextSection::MeasureWidths(int& min, int& max)
{
    if (m_minWidthCache >= 1 && images.empty()) {
        min = m_minWidthCache;
        max = m_maxWidthCache;
        return;
    }
    min = max = 0;
    if (text.empty())
        return;
    int floatTotal = 0;
    for (const auto& image : images) {
        image->ResolveSize(document, 0, 0, FontAt(image->pos).IsLink());
        if (image->percentWidth)
            continue;
        if (image->IsFloat()) {
            floatTotal += image->TotalWidth();
            breakFlags[static_cast<std::size_t>(image->pos)] = 'y';
        } else {
            min = std::max(min, image->imageWidth);
        }
    }
    const int length = static_cast<int>(text.size());
    auto withIndent = [&](int width) {
        if (firstLineIndentPercent > 0)
            return width * 100 / (100 - firstLineIndentPercent);
        return width + firstLineIndent;
    };
    int widest = 0;
    for (int start = 0; start <= length;) {
        int end = start;
        while (end < length && text[end] != kBreakMark)
            ++end;
        int width = TextWidth(start, end - start, false);
        if (start == 0)
            width = withIndent(width);
        widest = std::max(widest, width);
        start = end + 1;
    }
    max = floatTotal + widest;

    auto endsWord = [&](int i) {
        const char16_t c = text[i];
        return c == kControlMark || c == kImageMark || c == kBreakMark || c == u' ' || c == u'-' ||
               c == u'?' || (c >= 0x3000 && breakFlags[i] == 'y');
    };
    for (int i = 0; i < length;) {
        const char16_t c = text[i];
        if (c == u' ' || c == kBreakMark || IsPlaceholder(c)) {
            ++i;
            continue;
        }
        int end = i + 1;
        if (!(c >= 0x3000 && breakFlags[i] == 'y')) {
            while (end < length && !endsWord(end))
                ++end;
            if (end < length && (text[end] == u'-' || text[end] == u'?'))
                ++end;
        }
        int width = TextWidth(i, end - i, true);
        if (i == 0)
            width = withIndent(width);
        min = std::max(min, width);
        i = end;
    }
    min = std::max(min, floatTotal);
    m_minWidthCache = min;
    m_maxWidthCache = max;
}

void PreformattedSection::CloseText()
{
    NumberAndMap();
}

void PreformattedSection::MeasureWidths(int& min, int& max)
{
    min = max = 0;
    if (text.empty())
        return;
    if (m_minWidthCache < 0) {
        const int length = static_cast<int>(text.size());
        int widest = 0;
        for (int start = 0; start <= length;) {
            int end = start;
            while (end < length && text[end] != kBreakMark)
                ++end;
            widest = std::max(widest, TextWidth(start, end - start, false));
            start = end + 1;
        }
        m_maxWidthCache = widest;
        m_minWidthCache = std::min(2000, widest);
    }
    min = m_minWidthCache;
    max = m_maxWidthCache;
}

}  // namespace htmlview
