#include "setup/htmlview/builder/head_elements.h"

#include <exception>

#include "setup/htmlview/parser/tokenizer.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

namespace {

std::string ValueOf(const AttributeList& attributes, Sym symbol)
{
    const Attribute* attribute = attributes.Find(symbol);
    return attribute ? attribute->value : std::string();
}

}  // namespace

std::string SheetTextForReading(std::string_view text)
{
    std::string read;
    read.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;  // the LF that follows makes the one CR
        read.push_back(c == '\n' ? '\r' : c == '\t' ? ' ' : c);
    }
    return read;
}

void ReadLinkElement(const AttributeList& attributes, const BuilderHooks& hooks,
                     IStyleSheetTarget& sheet)
{
    const std::string href = ValueOf(attributes, Sym::Href);
    const std::string rel = ValueOf(attributes, Sym::Rel);
    if (!href.empty() && EqualsNoCase(Trim(rel), "stylesheet") && hooks.loadStyleSheet) {
        try {
            if (const std::optional<LinkedSheet> linked = hooks.loadStyleSheet(href);
                linked && !linked->text.empty())
                ReadStyleSheetText(SheetTextForReading(linked->text), linked->basePath, sheet);
        } catch (const std::exception&) {
            // A sheet that fails leaves the document unstyled by it.
        }
    }
    if (hooks.onLink)
        hooks.onLink(rel, ValueOf(attributes, Sym::Rev), href);
}

void ReadSoundElement(const AttributeList& attributes, const BuilderHooks& hooks)
{
    const Attribute* source = attributes.Find(Sym::Src);
    if (!hooks.onSound || !source)
        return;
    const Attribute* loop = attributes.Find(Sym::Loop);
    hooks.onSound(source->value, loop ? loop->number : 1, false);
}

int CountLinks(const std::string& html, const ICodePages& codePages, int limit)
{
    int count = 0;
    try {
        Tokenizer tokenizer(html, codePages);
        tokenizer.SetPreScan(true);
        tokenizer.GetCh();
        for (tokenizer.ReadSymbol(); tokenizer.Symbol() != Sym::Eof && count < limit;
             tokenizer.ReadSymbol())
            if (tokenizer.Symbol() == Sym::A && tokenizer.Attributes().Find(Sym::Href))
                ++count;
    } catch (const std::exception&) {
    }
    return count;
}

}  // namespace htmlview
