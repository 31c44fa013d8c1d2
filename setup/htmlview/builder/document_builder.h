// Builds a document from HTML: paragraphs, headings, divisions, lists, tables with captions,
// forms and their controls, preformatted text, rules, line breaks, font changes, links and
// images, styled through the cascade and the presentational attributes. Unclosed and misnested
// tags are tolerated: an end tag closes the nearest open element of its kind.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "setup/htmlview/builder/builder_hooks.h"
#include "setup/htmlview/builder/presentational.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/parser/symbols.h"
#include "setup/htmlview/style/style_list.h"

namespace htmlview {
class Form;
class ListControl;
class MapItem;
class Tokenizer;
}  // namespace htmlview

namespace htmlview {

class DocumentBuilder
{
public:
    // Open blocks deeper than this are read as text, so that nesting cannot exhaust the stack.
    static constexpr std::size_t kMaxDepth = 200;
    // TABLE tags deeper than this are ignored; their rows and cells join the table around them.
    static constexpr int kMaxTableDepth = 10;
    // A document with more links than this gives its links no keyboard tab stops.
    static constexpr int kMaxTabLinks = 400;
    // A MAP gives up after this many symbols that are not its areas or its end.
    static constexpr int kMapStrayLimit = 3;

    DocumentBuilder(Document& document, const ICodePages& codePages,
                    const DefaultSheetSettings& settings = {});
    ~DocumentBuilder();
    void Build(const std::string& html);
    // A plain-text document: its lines as preformatted text, in the system's code page.
    void BuildText(const std::string& text);

    StyleList sheet;
    std::u16string title;
    std::string base, baseTarget;
    BuilderHooks hooks;

private:
    struct Open;
    void OpenBody();
    void Text(const std::u16string& text, const std::vector<int>& positions);
    void StartTag();
    void PreText();
    void EndTag(Sym symbol);
    void TableTag(Sym symbol);
    Properties& Push(Sym symbol, const std::string& tag);
    void Pop(std::size_t index);
    TextSection& Section();
    void EndSection();
    CellBasic& CurrentCell();
    ElementFont FontFor(Properties& properties);
    void OpenBlock(Sym symbol, const std::string& tag);
    // INPUT, SELECT and TEXTAREA: their controls in the current form and in the text.
    void FormControlTag(Sym symbol);
    // A BODY before any content replaces the body block with one carrying its attributes.
    void BodyTag();
    Form& CurrentForm();
    void FinishOption();
    void FinishSelect();
    // Inside a MAP: its areas are taken, text dropped; false when the symbol is the parser's.
    bool MapSymbol(Sym symbol);
    void MetaTag();

    Document& m_document;
    const ICodePages& m_codePages;
    Tokenizer* m_tokenizer = nullptr;
    std::vector<std::unique_ptr<Open>> m_stack;
    std::unique_ptr<TextSection> m_section;
    bool m_pre = false;
    int m_noBreak = 0;
    int m_listLevel = 0;
    bool m_inTitle = false;
    int m_tableDepth = 0;
    FontTagState m_fontState;
    Form* m_form = nullptr;           // inside a FORM
    ListControl* m_select = nullptr;  // a SELECT still taking its options
    struct PendingOption;
    std::unique_ptr<PendingOption> m_option;
    std::unique_ptr<MapItem> m_map;  // a MAP still taking its areas
    int m_mapStrays = 0;
};

}  // namespace htmlview
