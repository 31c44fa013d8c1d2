#include "setup/htmlview/parser/symbols.h"

#include <array>

namespace htmlview {

namespace {

struct TagEntry
{
    std::string_view name;
    std::string_view lowerName;
    Sym start;
    Sym end;  // Sym::UnknownTag for tags that have no end tag
};

// In the table's order: the first 53 have end tags.
constexpr std::array<TagEntry, 74> kTags = {{
    {"HTML", "html", Sym::Html, Sym::HtmlEnd},
    {"TITLE", "title", Sym::Title, Sym::TitleEnd},
    {"BODY", "body", Sym::Body, Sym::BodyEnd},
    {"HEAD", "head", Sym::Head, Sym::HeadEnd},
    {"B", "b", Sym::B, Sym::BEnd},
    {"I", "i", Sym::I, Sym::IEnd},
    {"H", "h", Sym::H, Sym::HEnd},
    {"EM", "em", Sym::Em, Sym::EmEnd},
    {"STRONG", "strong", Sym::Strong, Sym::StrongEnd},
    {"U", "u", Sym::U, Sym::UEnd},
    {"CITE", "cite", Sym::Cite, Sym::CiteEnd},
    {"VAR", "var", Sym::Var, Sym::VarEnd},
    {"TT", "tt", Sym::Tt, Sym::TtEnd},
    {"CODE", "code", Sym::Code, Sym::CodeEnd},
    {"KBD", "kbd", Sym::Kbd, Sym::KbdEnd},
    {"SAMP", "samp", Sym::Samp, Sym::SampEnd},
    {"OL", "ol", Sym::Ol, Sym::OlEnd},
    {"UL", "ul", Sym::Ul, Sym::UlEnd},
    {"DIR", "dir", Sym::Dir, Sym::DirEnd},
    {"MENU", "menu", Sym::Menu, Sym::MenuEnd},
    {"DL", "dl", Sym::Dl, Sym::DlEnd},
    {"A", "a", Sym::A, Sym::AEnd},
    {"ADDRESS", "address", Sym::Address, Sym::AddressEnd},
    {"BLOCKQUOTE", "blockquote", Sym::Blockquote, Sym::BlockquoteEnd},
    {"PRE", "pre", Sym::Pre, Sym::PreEnd},
    {"CENTER", "center", Sym::Center, Sym::CenterEnd},
    {"TABLE", "table", Sym::Table, Sym::TableEnd},
    {"TD", "td", Sym::Td, Sym::TdEnd},
    {"TH", "th", Sym::Th, Sym::ThEnd},
    {"CAPTION", "caption", Sym::Caption, Sym::CaptionEnd},
    {"FORM", "form", Sym::Form, Sym::FormEnd},
    {"TEXTAREA", "textarea", Sym::Textarea, Sym::TextareaEnd},
    {"SELECT", "select", Sym::Select, Sym::SelectEnd},
    {"OPTION", "option", Sym::Option, Sym::OptionEnd},
    {"FONT", "font", Sym::Font, Sym::FontEnd},
    {"SUB", "sub", Sym::Sub, Sym::SubEnd},
    {"SUP", "sup", Sym::Sup, Sym::SupEnd},
    {"BIG", "big", Sym::Big, Sym::BigEnd},
    {"SMALL", "small", Sym::Small, Sym::SmallEnd},
    {"P", "p", Sym::P, Sym::PEnd},
    {"MAP", "map", Sym::Map, Sym::MapEnd},
    {"FRAMESET", "frameset", Sym::Frameset, Sym::FramesetEnd},
    {"NOFRAMES", "noframes", Sym::Noframes, Sym::NoframesEnd},
    {"SCRIPT", "script", Sym::Script, Sym::ScriptEnd},
    {"DIV", "div", Sym::Div, Sym::DivEnd},
    {"S", "s", Sym::S, Sym::SEnd},
    {"STRIKE", "strike", Sym::Strike, Sym::StrikeEnd},
    {"TR", "tr", Sym::Tr, Sym::TrEnd},
    {"NOBR", "nobr", Sym::Nobr, Sym::NobrEnd},
    {"STYLE", "style", Sym::Style, Sym::StyleEnd},
    {"SPAN", "span", Sym::Span, Sym::SpanEnd},
    {"COLGROUP", "colgroup", Sym::Colgroup, Sym::ColgroupEnd},
    {"LABEL", "label", Sym::Label, Sym::LabelEnd},
    {"LI", "li", Sym::Li, Sym::UnknownTag},
    {"BR", "br", Sym::Br, Sym::UnknownTag},
    {"HR", "hr", Sym::Hr, Sym::UnknownTag},
    {"DD", "dd", Sym::Dd, Sym::UnknownTag},
    {"DT", "dt", Sym::Dt, Sym::UnknownTag},
    {"IMG", "img", Sym::Img, Sym::UnknownTag},
    {"BASE", "base", Sym::Base, Sym::UnknownTag},
    {"BUTTON", "button", Sym::Button, Sym::UnknownTag},
    {"INPUT", "input", Sym::Input, Sym::UnknownTag},
    {"SELECTED", "selected", Sym::Selected, Sym::UnknownTag},
    {"BASEFONT", "basefont", Sym::Basefont, Sym::UnknownTag},
    {"AREA", "area", Sym::Area, Sym::UnknownTag},
    {"FRAME", "frame", Sym::Frame, Sym::UnknownTag},
    {"PAGE", "page", Sym::Page, Sym::UnknownTag},
    {"BGSOUND", "bgsound", Sym::Bgsound, Sym::UnknownTag},
    {"WRAP", "wrap", Sym::Wrap, Sym::UnknownTag},
    {"META", "meta", Sym::Meta, Sym::UnknownTag},
    {"PANEL", "panel", Sym::Panel, Sym::UnknownTag},
    {"WBR", "wbr", Sym::Wbr, Sym::UnknownTag},
    {"LINK", "link", Sym::Link, Sym::UnknownTag},
    {"COL", "col", Sym::Col, Sym::UnknownTag},
}};

struct AttributeEntry
{
    std::string_view name;
    Sym symbol;
};

// In the table's order; the second VALUE is never reached, the first match wins.
constexpr std::array<AttributeEntry, 83> kAttributes = {{
    {"HREF", Sym::Href},
    {"NAME", Sym::Name},
    {"SRC", Sym::Src},
    {"ALT", Sym::Alt},
    {"ALIGN", Sym::Align},
    {"TEXT", Sym::Text},
    {"BGCOLOR", Sym::Bgcolor},
    {"LINK", Sym::Link},
    {"BACKGROUND", Sym::Background},
    {"COLSPAN", Sym::Colspan},
    {"ROWSPAN", Sym::Rowspan},
    {"BORDER", Sym::Border},
    {"CELLPADDING", Sym::Cellpadding},
    {"CELLSPACING", Sym::Cellspacing},
    {"VALIGN", Sym::Valign},
    {"WIDTH", Sym::Width},
    {"START", Sym::Start},
    {"VALUE", Sym::Value},
    {"TYPE", Sym::Type},
    {"CHECKBOX", Sym::Checkbox},
    {"RADIO", Sym::Radio},
    {"METHOD", Sym::Method},
    {"ACTION", Sym::Action},
    {"CHECKED", Sym::Checked},
    {"SIZE", Sym::Size},
    {"MAXLENGTH", Sym::Maxlength},
    {"COLS", Sym::Cols},
    {"ROWS", Sym::Rows},
    {"MULTIPLE", Sym::Multiple},
    {"VALUE", Sym::Value},
    {"SELECTED", Sym::Selected},
    {"FACE", Sym::Face},
    {"COLOR", Sym::Color},
    {"TRANSP", Sym::Transp},
    {"CLEAR", Sym::Clear},
    {"ISMAP", Sym::Ismap},
    {"BORDERCOLOR", Sym::Bordercolor},
    {"USEMAP", Sym::Usemap},
    {"SHAPE", Sym::Shape},
    {"COORDS", Sym::Coords},
    {"NOHREF", Sym::Nohref},
    {"HEIGHT", Sym::Height},
    {"PLAIN", Sym::Plain},
    {"TARGET", Sym::Target},
    {"NORESIZE", Sym::Noresize},
    {"SCROLLING", Sym::Scrolling},
    {"HSPACE", Sym::Hspace},
    {"LANGUAGE", Sym::Language},
    {"FRAMEBORDER", Sym::Frameborder},
    {"MARGINWIDTH", Sym::Marginwidth},
    {"MARGINHEIGHT", Sym::Marginheight},
    {"LOOP", Sym::Loop},
    {"ONCLICK", Sym::Onclick},
    {"WRAP", Sym::Wrap},
    {"NOSHADE", Sym::Noshade},
    {"HTTP-EQUIV", Sym::HttpEquiv},
    {"CONTENT", Sym::Content},
    {"ENCTYPE", Sym::Enctype},
    {"VLINK", Sym::Vlink},
    {"OLINK", Sym::Olink},
    {"ACTIVE", Sym::Active},
    {"VSPACE", Sym::Vspace},
    {"CLASS", Sym::Class},
    {"ID", Sym::Id},
    {"STYLE", Sym::Style},
    {"REL", Sym::Rel},
    {"REV", Sym::Rev},
    {"NOWRAP", Sym::Nowrap},
    {"BORDERCOLORLIGHT", Sym::Bordercolorlight},
    {"BORDERCOLORDARK", Sym::Bordercolordark},
    {"CHARSET", Sym::Charset},
    {"RATIO", Sym::Ratio},
    {"TITLE", Sym::Title},
    {"ONFOCUS", Sym::Onfocus},
    {"ONBLUR", Sym::Onblur},
    {"ONCHANGE", Sym::Onchange},
    {"SPAN", Sym::Span},
    {"TABINDEX", Sym::Tabindex},
    {"BGPROPERTIES", Sym::Bgproperties},
    {"DISABLED", Sym::Disabled},
    {"TOPMARGIN", Sym::Topmargin},
    {"LEFTMARGIN", Sym::Leftmargin},
    {"LABEL", Sym::Label},
}};

}  // namespace

Sym StartTagSymbol(std::string_view upperName)
{
    for (const TagEntry& entry : kTags)
        if (entry.name == upperName)
            return entry.start;
    return Sym::UnknownTag;
}

Sym EndTagSymbol(std::string_view upperName)
{
    for (const TagEntry& entry : kTags)
        if (entry.name == upperName)
            return entry.end;
    return Sym::UnknownTag;
}

Sym AttributeSymbol(std::string_view upperName)
{
    for (const AttributeEntry& entry : kAttributes)
        if (entry.name == upperName)
            return entry.symbol;
    return Sym::UnknownAttribute;
}

std::string_view TagNameOf(Sym symbol)
{
    for (const TagEntry& entry : kTags)
        if (entry.start == symbol || (entry.end == symbol && symbol != Sym::UnknownTag))
            return entry.lowerName;
    return {};
}

Sym EndSymbolOf(Sym start)
{
    for (const TagEntry& entry : kTags)
        if (entry.start == start)
            return entry.end;
    return Sym::UnknownTag;
}

}  // namespace htmlview
