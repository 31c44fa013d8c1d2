// The HTML tokenizer over any bytes: every symbol to the end, the raw readers of SCRIPT and
// TEXTAREA, STYLE contents through the CSS reader, and includes that insert text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/parser/tokenizer.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

class CountingSheet : public htmlview::IStyleSheetTarget
{
public:
    void AddRuleValue(const std::string&, const std::string&, const std::string&) override {}
    int TakeDescendantNumber() override { return m_counter++; }

private:
    int m_counter = 10;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace htmlview;
    const std::string document(reinterpret_cast<const char*>(data), size);
    FakeCodePages codePages;
    TokenizerHooks hooks;
    hooks.include = [](const std::string& command, const std::vector<std::string>&) {
        return command == "loop" ? std::string("<!--#loop-->x") : std::string("<b>i</b>");
    };
    hooks.script = [](const std::string&, const std::string&, const std::string&) {};
    hooks.idFound = [](const std::string&, int) {};
    Tokenizer tokenizer(document, codePages, hooks);
    try {
        tokenizer.GetCh();
        std::size_t symbols = 0;
        for (tokenizer.ReadSymbol(); tokenizer.Symbol() != Sym::Eof; tokenizer.ReadSymbol()) {
            // Every symbol consumes input; included texts are bounded, so this count is too.
            if (++symbols > 4 * (size + 1) + 4 * Tokenizer::kMaxIncludes * 16)
                std::abort();
            if (tokenizer.Token().Text().size() != tokenizer.Token().Positions().size())
                std::abort();
            switch (tokenizer.Symbol()) {
                case Sym::Script:
                    tokenizer.ReadScript();
                    break;
                case Sym::Textarea:
                    tokenizer.ReadTextArea();
                    break;
                case Sym::Style: {
                    CountingSheet sheet;
                    StyleSheetSource source;
                    source.next = [&] {
                        tokenizer.ReadChar();
                        return tokenizer.Ch();
                    };
                    source.current = tokenizer.Ch();
                    ReadStyleSheet(source, sheet);
                    break;
                }
                case Sym::Meta:
                    if (symbols % 2 == 0)
                        tokenizer.ConvertRestFromEucJp();
                    break;
                default:
                    break;
            }
        }
    } catch (const ParseError&) {
    }
    return 0;
}
