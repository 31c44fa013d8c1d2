#include "setup/htmlview/builder/document_builder.h"

#include "setup/htmlview/builder/head_elements.h"
#include "setup/htmlview/builder/presentational.h"
#include "setup/htmlview/forms/form.h"
#include "setup/htmlview/forms/panel.h"
#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/rule.h"
#include "setup/htmlview/layout/table.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/parser/area_map.h"
#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/parser/meta_charset.h"
#include "setup/htmlview/parser/tokenizer.h"
#include "setup/htmlview/style/box_values.h"
#include "setup/htmlview/style/cascade.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/keywords.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

struct DocumentBuilder::Open
{
    Sym symbol = Sym::Eof;
    Properties properties;
    Block* block = nullptr;  // the block whose cell takes the content, when this opened one
    int itemNumber = 0;      // lists: the next item's number
    char typeLetter = 0;
    bool plain = false;
    bool inlineBorder = false;
    std::unique_ptr<TableSection> table;  // until its end tag hands it to the enclosing cell
    int savedListLevel = 0;
    int savedNoBreak = 0;
    bool noWrap = false;  // a NOWRAP cell: its text does not break
    CellAlign rowAlign = CellAlign::Middle;
    std::uint32_t rowBackground = kNoneColor;
    ColumnFormat columnDefaults;  // of the open COLGROUP
};

struct DocumentBuilder::PendingOption
{
    std::u16string text;
    bool selected = false;
    std::string value;  // its VALUE attribute
};

namespace {

std::u16string TrimmedText(const std::u16string& text)
{
    const auto space = [](char16_t c) {
        return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t';
    };
    std::size_t from = 0, to = text.size();
    while (from < to && space(text[from]))
        ++from;
    while (to > from && space(text[to - 1]))
        --to;
    return text.substr(from, to - from);
}

bool IsBlockTag(Sym s)
{
    switch (s) {
        case Sym::P:
        case Sym::Div:
        case Sym::H:
        case Sym::Blockquote:
        case Sym::Center:
        case Sym::Ul:
        case Sym::Ol:
        case Sym::Li:
        case Sym::Pre:
        case Sym::Address:
        case Sym::Dir:
        case Sym::Menu:
        case Sym::Dl:
        case Sym::Dd:
        case Sym::Dt:
        case Sym::Form:
            return true;
        default:
            return false;
    }
}

bool IsInlineTag(Sym s)
{
    switch (s) {
        case Sym::B:
        case Sym::I:
        case Sym::U:
        case Sym::Em:
        case Sym::Strong:
        case Sym::Tt:
        case Sym::Code:
        case Sym::Font:
        case Sym::Span:
        case Sym::A:
        case Sym::Sub:
        case Sym::Sup:
        case Sym::Nobr:
        case Sym::Cite:
        case Sym::Var:
        case Sym::Kbd:
        case Sym::Samp:
        case Sym::S:
        case Sym::Strike:
        case Sym::Big:
        case Sym::Small:
        case Sym::Label:
        case Sym::Basefont:
            return true;
        default:
            return false;
    }
}

bool IsListTag(Sym s)
{
    return s == Sym::Ul || s == Sym::Ol || s == Sym::Dir || s == Sym::Menu || s == Sym::Dl;
}

bool IsItemTag(Sym s)
{
    return s == Sym::Li || s == Sym::Dd || s == Sym::Dt;
}

std::string TagName(Sym s, int level)
{
    switch (s) {
        case Sym::P:
            return "p";
        case Sym::Div:
            return "div";
        case Sym::H:
            return "h" + std::to_string(level);
        case Sym::Blockquote:
            return "blockquote";
        case Sym::Center:
            return "center";
        case Sym::Ul:
            return "ul";
        case Sym::Ol:
            return "ol";
        case Sym::Li:
            return "li";
        case Sym::Pre:
            return "pre";
        case Sym::Address:
            return "address";
        case Sym::B:
            return "b";
        case Sym::I:
            return "i";
        case Sym::U:
            return "u";
        case Sym::Em:
            return "em";
        case Sym::Strong:
            return "strong";
        case Sym::Tt:
            return "tt";
        case Sym::Code:
            return "code";
        case Sym::Font:
            return "font";
        case Sym::Span:
            return "span";
        case Sym::A:
            return "a";
        case Sym::Sub:
            return "sub";
        case Sym::Sup:
            return "sup";
        case Sym::Hr:
            return "hr";
        case Sym::Img:
            return "img";
        case Sym::Nobr:
            return "nobr";
        case Sym::Dir:
            return "dir";
        case Sym::Menu:
            return "menu";
        case Sym::Dl:
            return "dl";
        case Sym::Dd:
            return "dd";
        case Sym::Dt:
            return "dt";
        case Sym::Form:
            return "form";
        case Sym::Cite:
            return "cite";
        case Sym::Var:
            return "var";
        case Sym::Kbd:
            return "kbd";
        case Sym::Samp:
            return "samp";
        case Sym::S:
            return "s";
        case Sym::Strike:
            return "strike";
        case Sym::Big:
            return "big";
        case Sym::Small:
            return "small";
        case Sym::Label:
            return "label";
        case Sym::Basefont:
            return "font";
        default:
            return "body";
    }
}

SectionStyle StyleOf(Properties& p, const ElementFont& font, const IFontCatalog& fonts)
{
    SectionStyle style;
    style.font = font;
    style.title = p.title;
    if (const std::string* align = p.Text(TextAlign)) {
        const std::string a = LowerAscii(Trim(*align));
        style.justify = a == "right"     ? Justify::Right
                        : a == "center"  ? Justify::Center
                        : a == "justify" ? Justify::Full
                                         : Justify::Left;
    }
    LengthBases bases{fonts.PixelsPerInch(), p.emSize, p.exSize};
    style.lineHeight = LineHeightOf(p, font.metrics.height, bases);
    const FirstLineIndent indent = TextIndentOf(p, bases);
    if (indent.percent)
        style.firstLineIndentPercent = indent.value;
    else
        style.firstLineIndent = indent.value;
    return style;
}

}  // namespace

DocumentBuilder::DocumentBuilder(Document& document, const ICodePages& codePages,
                                 const DefaultSheetSettings& settings)
    : sheet(document.fonts), m_document(document), m_codePages(codePages)
{
    sheet.InitializeDefaults(settings);
}

DocumentBuilder::~DocumentBuilder() = default;

ElementFont DocumentBuilder::FontFor(Properties& properties)
{
    return FontOf(properties, sheet.DefaultPoints(), m_document.fonts, m_document.measurer);
}

CellBasic& DocumentBuilder::CurrentCell()
{
    for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it)
        if ((*it)->block)
            return (*it)->block->cell;
    return m_document.cell;
}

TextSection& DocumentBuilder::Section()
{
    if (!m_section) {
        Properties& top = m_stack.back()->properties;
        Properties* owner = &top;
        for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it)
            if ((*it)->block || it + 1 == m_stack.rend()) {
                owner = &(*it)->properties;
                break;
            }
        const SectionStyle style = StyleOf(*owner, FontFor(*owner), m_document.fonts);
        if (m_pre)
            m_section = std::make_unique<PreformattedSection>(m_document, style);
        else
            m_section = std::make_unique<TextSection>(m_document, style);
        m_section->ChangeFont(FontFor(top), top.title, ScriptShift::None);
    }
    return *m_section;
}

void DocumentBuilder::EndSection()
{
    if (m_section)
        CurrentCell().Add(std::move(m_section));
}

Properties& DocumentBuilder::Push(Sym symbol, const std::string& tag)
{
    auto open = std::make_unique<Open>();
    open->symbol = symbol;
    ElementSelector selector;
    selector.tag = tag;
    const AttributeList& attributes = m_tokenizer->Attributes();
    selector.cssClass = attributes.Class();
    selector.id = LowerAscii(attributes.Id());
    selector.title = attributes.Title();
    selector.inlineStyle = const_cast<AttributeList&>(attributes).Style();
    // An anchor with a target takes the link rules (colour, underline); a named anchor alone is
    // plain text.
    if (symbol == Sym::A && attributes.Find(Sym::Href))
        selector.pseudo = "link";
    open->properties.Inherit(m_stack.back()->properties);
    std::vector<const Properties*> ancestors;
    for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it)
        ancestors.push_back(&(*it)->properties);
    Combine(open->properties, selector, sheet, ancestors);
    open->properties.tag = tag;
    m_stack.push_back(std::move(open));
    return m_stack.back()->properties;
}

void DocumentBuilder::OpenBlock(Sym symbol, const std::string& tag)
{
    EndSection();
    CellBasic& outer = CurrentCell();
    Open* list = nullptr;
    for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it)
        if (IsListTag((*it)->symbol)) {
            list = it->get();
            break;
        }
    const AttributeList& attributes = m_tokenizer->Attributes();
    Properties& p = Push(symbol, tag);
    if (symbol == Sym::P || symbol == Sym::Div || symbol == Sym::H)
        ApplyBlockAlign(p, attributes);
    FontFor(p);
    std::unique_ptr<Block> block;
    if (IsItemTag(symbol)) {
        int number = 1;
        char letter = 0;
        bool plain = false;
        ListKind kind = ListKind::Lone;
        if (symbol != Sym::Li) {
            kind = ListKind::Definition;
        } else if (list && list->symbol != Sym::Dl) {
            kind = list->symbol == Sym::Ol ? ListKind::Ordered : ListKind::Unordered;
            if (const Attribute* value = attributes.Find(Sym::Value); value && value->number != 0)
                list->itemNumber = value->number;
            number = list->itemNumber++;
            letter = list->typeLetter;
            plain = list->plain;
        }
        block = std::make_unique<ListItemBlock>(m_document, p, kind, m_listLevel, number, letter,
                                                plain, FontFor(p));
    } else {
        block = std::make_unique<Block>(m_document, p);
        if (IsListTag(symbol)) {
            Open& opened = *m_stack.back();
            block->isListBlock = symbol != Sym::Dl;
            if (symbol != Sym::Dl)
                ++m_listLevel;
            opened.itemNumber = 1;
            if (const Attribute* start = attributes.Find(Sym::Start); start && start->number >= 0)
                opened.itemNumber = start->number;
            if (const Attribute* type = attributes.Find(Sym::Type); type && !type->value.empty()) {
                opened.typeLetter = type->value[0];
                const std::string lower = LowerAscii(type->value);
                opened.plain = symbol == Sym::Ul && (lower == "none" || lower == "plain");
            }
            if (symbol == Sym::Ul && attributes.Find(Sym::Plain))
                opened.plain = true;
        }
    }
    const Block* ownerBlock = outer.owner;
    block->CollapseMargins(outer, ownerBlock);
    Block* raw = block.get();
    outer.Add(std::move(block));
    m_stack.back()->block = raw;
    if (symbol == Sym::Pre)
        m_pre = true;
    if (symbol == Sym::Form && m_document.controlHost) {
        m_document.forms.push_back(std::make_unique<Form>(*m_document.controlHost, &attributes,
                                                          m_document.fonts.PixelsPerInch()));
        m_form = m_document.forms.back().get();
    }
}

void DocumentBuilder::BodyTag()
{
    // Later BODY tags, and those inside a table, are ignored.
    Block* body = m_stack.size() > 1 ? m_stack[1]->block : nullptr;
    const bool textBefore =
        m_section && m_section->text.find_first_not_of(u' ') != std::u16string::npos;
    if (!body || m_tableDepth > 0 || !body->cell.sections.empty() || textBefore)
        return;
    Pop(2);
    m_section.reset();
    m_stack.pop_back();
    m_document.cell.sections.clear();
    const AttributeList& attributes = m_tokenizer->Attributes();
    for (const auto& [symbol, state] :
         {std::pair{Sym::Link, "link"}, {Sym::Vlink, "visited"}, {Sym::Olink, "hover"}})
        if (const Attribute* a = attributes.Find(symbol))
            if (const auto color = ParseColor(a->value, false))
                sheet.SetLinkColor(state, *color);
    Properties& p = Push(Sym::Body, "body");
    ApplyBodyAttributes(p, attributes);
    FontFor(p);
    auto block = std::make_unique<BodyBlock>(m_document, p);
    m_stack.back()->block = block.get();
    m_document.cell.Add(std::move(block));
}

Form& DocumentBuilder::CurrentForm()
{
    // A control outside any FORM gets a form of its own, without attributes.
    if (!m_form) {
        m_document.forms.push_back(std::make_unique<Form>(*m_document.controlHost, nullptr,
                                                          m_document.fonts.PixelsPerInch()));
        m_form = m_document.forms.back().get();
    }
    return *m_form;
}

void DocumentBuilder::FormControlTag(Sym symbol)
{
    if (!m_document.controlHost || m_stack.size() >= kMaxDepth)
        return;
    const AttributeList& attributes = m_tokenizer->Attributes();
    const int position = m_tokenizer->TagPosition();
    Form& form = CurrentForm();
    const std::size_t before = form.controls.size();
    if (symbol == Sym::Input)
        form.AddInput(attributes);
    else if (symbol == Sym::Select)
        m_select = &form.AddSelect(attributes);
    else
        form.AddTextArea(attributes, m_tokenizer->ReadTextArea());
    TextSection& section = Section();  // in the font around the control
    Properties& p = Push(symbol, symbol == Sym::Input    ? "input"
                                 : symbol == Sym::Select ? "select"
                                                         : "textarea");
    for (std::size_t i = before; i < form.controls.size(); ++i) {
        FormControl& control = *form.controls[i];
        control.ApplyStyle(p);
        control.ResetToInitial();
        if (auto* button = dynamic_cast<ImageButtonControl*>(&control)) {
            // An image button is its picture.
            InlineImage& image = section.InsertImage(attributes, position);
            image.ApplyStyle(p);
            image.clickTarget = button;
        } else if (!control.IsHidden()) {
            section.InsertControl(control, AttributeList(), position);
        }
        if (!control.IsHidden())
            m_document.tabStops.push_back({&control, -1, control.tabIndex});
    }
    m_stack.pop_back();
}

void DocumentBuilder::FinishOption()
{
    if (m_select && m_option)
        m_select->AddOption(TrimmedText(m_option->text), m_option->selected, m_option->value);
    m_option.reset();
}

void DocumentBuilder::FinishSelect()
{
    FinishOption();
    if (m_select)
        m_select->ResetToInitial();
    m_select = nullptr;
}

void DocumentBuilder::Pop(std::size_t index)
{
    if (index == 0)
        return;
    for (std::size_t i = m_stack.size(); i-- > index;) {
        const Sym s = m_stack[i]->symbol;
        if (m_stack[i]->block)
            EndSection();
        if (s == Sym::Pre)
            m_pre = false;
        if (IsListTag(s) && s != Sym::Dl)
            --m_listLevel;
        if (s == Sym::Nobr || m_stack[i]->noWrap)
            --m_noBreak;
        if (m_stack[i]->inlineBorder)
            m_document.inlineBorders.Add(m_tokenizer->TagPosition(), m_stack[i]->properties, false,
                                         m_document.fonts.PixelsPerInch());
        std::unique_ptr<TableSection> table = std::move(m_stack[i]->table);
        if (table) {
            EndSection();  // text between the table's tags goes before it
            m_listLevel = m_stack[i]->savedListLevel;
            m_noBreak = m_stack[i]->savedNoBreak;
            --m_tableDepth;
        }
        m_stack.pop_back();
        if (table)
            CurrentCell().Add(std::move(table));
    }
    if (m_section) {
        Properties& top = m_stack.back()->properties;
        m_section->ChangeFont(FontFor(top), top.title, ScriptShift::None);
        bool inLink = false;
        for (const auto& open : m_stack)
            inLink = inLink || open->symbol == Sym::A;
        if (!inLink && m_section->fonts.back()->IsLink())
            m_section->SetLink(UrlTarget(), nullptr);
    }
}

void DocumentBuilder::TableTag(Sym s)
{
    if (m_stack.size() >= kMaxDepth)
        return;
    const AttributeList& attributes = m_tokenizer->Attributes();
    if (s == Sym::Table) {
        // Deeper tables are flattened: their rows and cells go to the table around them.
        if (m_tableDepth >= kMaxTableDepth)
            return;
        EndSection();
        Push(Sym::Table, "table");
        Open& opened = *m_stack.back();
        opened.table = std::make_unique<TableSection>(m_document, attributes);
        opened.savedListLevel = m_listLevel;
        opened.savedNoBreak = m_noBreak;
        m_listLevel = 0;
        m_noBreak = 0;
        ++m_tableDepth;
        return;
    }
    std::size_t tableIndex = 0, rowIndex = 0;
    for (std::size_t i = m_stack.size(); i-- > 1 && tableIndex == 0;) {
        if (m_stack[i]->symbol == Sym::Table)
            tableIndex = i;
        else if (m_stack[i]->symbol == Sym::Tr && rowIndex == 0)
            rowIndex = i;
    }
    if (tableIndex == 0)
        return;    // row and cell tags outside a table are skipped
    EndSection();  // text before the first cell is shown before the table
    TableSection& table = *m_stack[tableIndex]->table;
    if (s == Sym::Col || s == Sym::Colgroup) {
        // Columns are described before the first row only.
        if (!table.rows.empty())
            return;
        Open& owner = *m_stack[tableIndex];
        int span = 1;
        const ColumnFormat format = ColumnFormatOf(attributes, owner.columnDefaults, span);
        if (s == Sym::Colgroup)
            owner.columnDefaults = format;
        else
            table.AddColumns(format, span);
        return;
    }
    if (s == Sym::Caption) {
        // The cell ends; the row stays open for the cells after the caption.
        Pop((rowIndex != 0 ? rowIndex : tableIndex) + 1);
        const Attribute* align = attributes.Find(Sym::Align);
        const bool onTop = !align || LowerAscii(Trim(align->value)) != "bottom";
        Properties& p = Push(Sym::Caption, "caption");
        FontFor(p);
        m_stack.back()->block = &table.CaptionBlock(p, onTop);
        return;
    }
    if (s == Sym::Tr || rowIndex == 0) {
        Pop(tableIndex + 1);
        table.StartRow(s == Sym::Tr ? &attributes : nullptr);
        Properties& row = Push(Sym::Tr, "tr");
        if (s == Sym::Tr) {
            ApplyBlockAlign(row, attributes);
            m_stack.back()->rowAlign = VerticalAlignOf(attributes, CellAlign::Middle);
            if (const Attribute* color = attributes.Find(Sym::Bgcolor))
                m_stack.back()->rowBackground =
                    ParseColor(color->value, false).value_or(kNoneColor);
        }
        rowIndex = m_stack.size() - 1;
        if (s == Sym::Tr)
            return;
    }
    Pop(rowIndex + 1);
    CellAlign vAlign = VerticalAlignOf(attributes, m_stack[rowIndex]->rowAlign);
    Properties& p = Push(s, s == Sym::Th ? "th" : "td");
    // A described column's alignment wins over the cell's own.
    if (const int column = table.columnFormats.empty() ? -1 : table.FreeColumnOfOpenRow();
        column >= 0) {
        const ColumnFormat& format = table.columnFormats[column];
        if (!format.align.empty())
            p.AssignPresentational(TextAlign, format.align);
        if (format.vAlign)
            vAlign = *format.vAlign;
    }
    ApplyBlockAlign(p, attributes);
    p.AssignPresentational(TextAlign, std::string(s == Sym::Th ? "center" : "left"));
    const bool framed = ApplyCellAttributes(p, attributes, table.cellPadding, table.border > 0);
    // Without a colour of its own a cell shows its row's, else its table's.
    for (const std::uint32_t color : {m_stack[rowIndex]->rowBackground, table.background})
        if (color != kNoneColor && color != kNoColor)
            p.AssignPresentational(BackgroundColor, static_cast<int>(color));
    FontFor(p);
    auto block = std::make_unique<Block>(m_document, p);
    Block* raw = block.get();
    TableCell& cell = table.AddCell(std::move(block), attributes, vAlign);
    cell.framed = framed;
    m_stack.back()->block = raw;
    // NOWRAP keeps the cell's text on one line, unless the cell is given a width in pixels.
    const Attribute* width = attributes.Find(Sym::Width);
    if (attributes.Find(Sym::Nowrap) && (!width || width->value.find('%') != std::string::npos)) {
        m_stack.back()->noWrap = true;
        ++m_noBreak;
    }
}

void DocumentBuilder::EndTag(Sym symbol)
{
    if (m_select && symbol == Sym::OptionEnd) {
        FinishOption();
        return;
    }
    FinishSelect();
    if (symbol == Sym::FormEnd)
        m_form = nullptr;
    // End tags do not reach out of a table cell, and table end tags not out of their table.
    const bool tableEnd = symbol == Sym::TableEnd || symbol == Sym::TrEnd || symbol == Sym::TdEnd ||
                          symbol == Sym::ThEnd;
    for (std::size_t i = m_stack.size(); i-- > 1;) {
        const Sym open = m_stack[i]->symbol;
        if (EndSymbolOf(open) == symbol) {
            Pop(i);
            return;
        }
        if (open == Sym::Table || (!tableEnd && (open == Sym::Td || open == Sym::Th)))
            return;
    }
}

void DocumentBuilder::StartTag()
{
    const Sym s = m_tokenizer->Symbol();
    if (m_select && s == Sym::Option) {
        FinishOption();
        m_option = std::make_unique<PendingOption>();
        const AttributeList& attributes = m_tokenizer->Attributes();
        m_option->selected = attributes.Find(Sym::Selected) != nullptr;
        if (const Attribute* value = attributes.Find(Sym::Value))
            m_option->value = value->value;
        return;
    }
    // Any other tag ends the option list.
    FinishSelect();
    if (s == Sym::Input || s == Sym::Select || s == Sym::Textarea) {
        FormControlTag(s);
        return;
    }
    const std::string tag = TagName(s, m_tokenizer->HeadingLevel());
    if (s == Sym::Table || s == Sym::Tr || s == Sym::Td || s == Sym::Th || s == Sym::Col ||
        s == Sym::Colgroup || s == Sym::Caption) {
        TableTag(s);
        return;
    }
    if (IsBlockTag(s)) {
        if (m_stack.size() >= kMaxDepth)
            return;
        if (s == Sym::P)
            EndTag(Sym::PEnd);
        if (IsItemTag(s))
            for (std::size_t i = m_stack.size(); i-- > 1;) {
                const Sym open = m_stack[i]->symbol;
                if (IsListTag(open) || open == Sym::Td || open == Sym::Th || open == Sym::Table)
                    break;
                if (IsItemTag(open)) {
                    Pop(i);
                    break;
                }
            }
        OpenBlock(s, tag);
        return;
    }
    if (IsInlineTag(s)) {
        if (m_stack.size() >= kMaxDepth)
            return;
        Properties& p = Push(s == Sym::Basefont ? Sym::Font : s, tag);
        if (s == Sym::Font || s == Sym::Basefont) {
            m_fontState.defaultPoints = sheet.DefaultPoints();
            m_fontState.preformatted = m_pre;
            ApplyFontAttributes(p, m_tokenizer->Attributes(), m_fontState, s == Sym::Basefont);
        }
        if (s == Sym::Nobr)
            ++m_noBreak;
        if (BorderStyleOf(p) != 0) {
            m_stack.back()->inlineBorder = true;
            m_document.inlineBorders.Add(m_tokenizer->TagPosition(), p, true,
                                         m_document.fonts.PixelsPerInch());
        }
        TextSection& section = Section();
        const ScriptShift shift = s == Sym::Sub   ? ScriptShift::Sub
                                  : s == Sym::Sup ? ScriptShift::Super
                                                  : ScriptShift::None;
        section.ChangeFont(FontFor(p), p.title, shift);
        if (s == Sym::A)
            if (const Attribute* name = m_tokenizer->Attributes().Find(Sym::Name)) {
                std::string anchor = UpperAscii(Trim(name->value));
                if (!anchor.empty() && anchor[0] == '#')
                    anchor.erase(0, 1);
                if (!anchor.empty())
                    m_document.anchors.AddCharPosition(anchor, m_tokenizer->TagPosition());
            }
        if (s == Sym::A)
            if (const Attribute* href = m_tokenizer->Attributes().Find(Sym::Href)) {
                UrlTarget target;
                target.Assign(href->value, "", m_document.linkNumbers);
                if (const Attribute* index = m_tokenizer->Attributes().Find(Sym::Tabindex);
                    index && index->number >= 1)
                    target.tabIndex = index->number;
                if (!m_document.noTabLinks)
                    m_document.tabStops.push_back({nullptr, target.linkNumber, target.tabIndex});
                section.SetLink(target, nullptr);
                section.ChangeFont(FontFor(p), p.title, shift);
            }
        return;
    }
    switch (s) {
        case Sym::Title:
            m_inTitle = true;
            break;
        case Sym::Base:
            if (const Attribute* href = m_tokenizer->Attributes().Find(Sym::Href))
                base = href->value;
            if (const Attribute* target = m_tokenizer->Attributes().Find(Sym::Target))
                baseTarget = target->value;
            break;
        case Sym::Br:
            Section().AppendBreak(m_tokenizer->TagPosition());
            break;
        case Sym::Img: {
            InlineImage& image =
                Section().InsertImage(m_tokenizer->Attributes(), m_tokenizer->TagPosition());
            if (const Properties* style =
                    const_cast<AttributeList&>(m_tokenizer->Attributes()).Style())
                image.ApplyStyle(*style);
            break;
        }
        case Sym::Hr: {
            if (m_stack.size() >= kMaxDepth)
                return;
            EndSection();
            CellBasic& outer = CurrentCell();
            Properties& p = Push(s, "hr");
            auto rule = std::make_unique<RuleBlock>(m_document, p, m_tokenizer->Attributes());
            rule->CollapseMargins(outer, outer.owner);
            outer.Add(std::move(rule));
            m_stack.pop_back();
            break;
        }
        case Sym::Body:
            BodyTag();
            break;
        case Sym::Panel: {
            if (!m_document.controlHost)
                break;
            const AttributeList& attributes = m_tokenizer->Attributes();
            m_document.panels.push_back(
                std::make_unique<Panel>(*m_document.controlHost, attributes));
            Panel& panel = *m_document.panels.back();
            if (m_document.onPanelCreate)
                m_document.onPanelCreate(panel);
            panel.TakeNaturalSize();
            Section().InsertControl(panel, attributes, m_tokenizer->TagPosition());
            break;
        }
        case Sym::Script:
            m_tokenizer->ReadScript();  // its text is not shown
            break;
        case Sym::Wbr:
            // Inside NOBR a place where the line may break after all.
            if (m_noBreak > 0 && m_section)
                m_section->AppendText(u" ", {m_tokenizer->TagPosition()}, false, 0);
            break;
        case Sym::Link:
            ReadLinkElement(m_tokenizer->Attributes(), hooks, sheet);
            break;
        case Sym::Meta:
            MetaTag();
            break;
        case Sym::Bgsound:
            ReadSoundElement(m_tokenizer->Attributes(), hooks);
            break;
        case Sym::Map:
            if (const Attribute* name = m_tokenizer->Attributes().Find(Sym::Name)) {
                m_map = std::make_unique<MapItem>(UpperAscii(name->value));
                m_mapStrays = 0;
            }
            break;
        case Sym::Page:
            EndSection();
            CurrentCell().Add(std::make_unique<PageBreak>(m_document));
            break;
        case Sym::Style: {
            StyleSheetSource source;
            source.next = [this] {
                m_tokenizer->ReadChar();
                return m_tokenizer->Ch();
            };
            source.current = m_tokenizer->Ch();
            ReadStyleSheet(source, sheet);
            break;
        }
        default:
            break;
    }
}

void DocumentBuilder::MetaTag()
{
    const AttributeList& attributes = m_tokenizer->Attributes();
    const auto value = [&](Sym symbol) {
        const Attribute* a = attributes.Find(symbol);
        return a ? a->value : std::string();
    };
    const std::string httpEquiv = value(Sym::HttpEquiv), content = value(Sym::Content);
    ApplyMetaContentType(httpEquiv, content, m_stack.back()->properties, *m_tokenizer,
                         m_document.fonts);
    if (hooks.onMeta)
        hooks.onMeta(httpEquiv, value(Sym::Name), content);
}

bool DocumentBuilder::MapSymbol(Sym symbol)
{
    if (!m_map)
        return false;
    if (symbol == Sym::Area) {
        m_map->AddArea(m_tokenizer->Attributes());
    } else if (symbol == Sym::MapEnd) {
        m_document.maps.push_back(std::move(m_map));
    } else if (symbol != Sym::Text && ++m_mapStrays >= kMapStrayLimit) {
        m_map.reset();  // not a map after all: the symbol is read as content
        return false;
    }
    return true;
}

void DocumentBuilder::Text(const std::u16string& text, const std::vector<int>& positions)
{
    if (m_select) {
        // Text inside a SELECT is option text; outside its options it is dropped.
        if (m_option)
            m_option->text += text;
        return;
    }
    std::u16string cleaned;
    std::vector<int> cleanedPositions;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (m_pre && (c == u'\n' || c == u'\r')) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                continue;
            c = kBreakMark;
        } else if (!m_pre && (c == u'\n' || c == u'\r' || c == u'\t')) {
            c = u' ';
        }
        cleaned.push_back(c);
        cleanedPositions.push_back(i < positions.size() ? positions[i] : 0);
    }
    Properties& top = m_stack.back()->properties;
    TextSection& section = Section();
    section.AppendText(cleaned, cleanedPositions, m_noBreak > 0, TextTransformOf(top));
}

void DocumentBuilder::PreText()
{
    // Preformatted text keeps its spaces and line ends (entities are left as written here).
    std::u16string text;
    std::vector<int> positions;
    while (m_tokenizer->Ch() != '<' && m_tokenizer->Ch() != '\0') {
        const char c = m_tokenizer->Ch();
        text.push_back(c == '\r' ? kBreakMark
                                 : static_cast<char16_t>(static_cast<unsigned char>(c)));
        positions.push_back(m_tokenizer->Position());
        m_tokenizer->ReadChar();
    }
    if (!text.empty())
        Section().AppendText(text, positions, true, 0);
}

void DocumentBuilder::OpenBody()
{
    auto root = std::make_unique<Open>();
    root->properties.Merge(*sheet.Find("default"));
    m_stack.push_back(std::move(root));
    // The body is the outermost block.
    Properties& p = Push(Sym::Body, "body");
    FontFor(p);
    auto body = std::make_unique<BodyBlock>(m_document, p);
    Block* raw = body.get();
    m_document.cell.Add(std::move(body));
    m_stack.back()->block = raw;
}

void DocumentBuilder::BuildText(const std::string& text)
{
    Tokenizer tokenizer(std::string(), m_codePages);  // for the empty attribute list only
    m_tokenizer = &tokenizer;
    OpenBody();
    Push(Sym::Pre, "pre");
    m_pre = true;
    const int codePage = m_codePages.AnsiCodePage();
    std::u16string shown;
    std::vector<int> positions;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::u16string line =
            m_codePages.ToWide(codePage, std::string_view(text).substr(start, end - start));
        shown += line;
        for (std::size_t i = 0; i < line.size(); ++i)
            positions.push_back(static_cast<int>(start + i));
        if (end < text.size()) {
            shown.push_back(kBreakMark);
            positions.push_back(static_cast<int>(end));
        }
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    Section().AppendText(shown, positions, true, 0);
    EndSection();
    m_pre = false;
    Pop(1);
    m_tokenizer = nullptr;
}

void DocumentBuilder::Build(const std::string& html)
{
    m_document.noTabLinks = CountLinks(html, m_codePages, kMaxTabLinks + 1) > kMaxTabLinks;
    TokenizerHooks tokenizerHooks;
    tokenizerHooks.idFound = [this](const std::string& id, int position) {
        m_document.anchors.AddCharPosition(UpperAscii(id), position);
    };
    tokenizerHooks.include = hooks.include;
    tokenizerHooks.script = hooks.script;
    tokenizerHooks.progress = hooks.progress;
    Tokenizer tokenizer(html, m_codePages, std::move(tokenizerHooks));
    m_tokenizer = &tokenizer;
    OpenBody();
    try {
        tokenizer.GetCh();
        for (tokenizer.ReadSymbol(); tokenizer.Symbol() != Sym::Eof; tokenizer.ReadSymbol()) {
            const Sym s = tokenizer.Symbol();
            if (MapSymbol(s)) {
                continue;
            } else if (s == Sym::Text && m_inTitle) {
                title += tokenizer.Token().Text();
            } else if (s == Sym::Text) {
                const TokenObj& token = tokenizer.Token();
                Text(token.Text(), token.Positions());
            } else if (s == Sym::TitleEnd) {
                m_inTitle = false;
            } else if (s >= Sym::HtmlEnd && s <= Sym::LabelEnd) {
                EndTag(s);
            } else {
                StartTag();
            }
            if (m_pre)
                PreText();
        }
    } catch (const ParseError&) {
    }
    FinishSelect();
    Pop(1);
    EndSection();
    m_tokenizer = nullptr;
}

}  // namespace htmlview
