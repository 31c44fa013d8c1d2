// Time to parse and lay out a large generated HTML document (tables, nested lists, styled text)
// through the viewer's portable core with a fixed-advance measurer, against reading the same
// document's symbols with the tokenizer alone, measured in the same run. Prints both times, their
// ratio (the cost of building and layout over the tokenizer's pass), and the rate ratio of a
// document twice as large (1.00 when the cost grows linearly). Portable: natively and under Wine.
// Usage: html_layout_bench [kilobytes] (default 1024, at least 1 MB of HTML is the point).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/parser/tokenizer.h"
#include "setup/htmlview/util/fake_platform.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace htmlview;

constexpr int kLayoutWidth = 800;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One chapter: a heading, styled paragraphs, a nested list and a table with spans.
std::string Chapter(int n)
{
    const std::string id = std::to_string(n);
    std::string html = "<h2 class=title id=c" + id + ">Chapter " + id + "</h2>\n";
    for (int p = 0; p < 3; ++p)
        html +=
            "<p class=body>Some <b>bold</b>, <i>italic</i> and <span class=mark>marked</span>"
            " text of paragraph " +
            std::to_string(p) + " with a <a href=\"#c" + id +
            "\">link</a> and enough words to wrap over several lines of the page when it is"
            " laid out at the benchmark's width, <font color=#336699 size=+1>in colour"
            "</font> too.</p>\n";
    html +=
        "<ul><li>first item<ol><li>one</li><li>two <em>emphasised</em></li></ol></li>"
        "<li>second item</li><li>third item with more words in it</li></ul>\n";
    html += "<table border=1 cellpadding=3 width=90%><caption>Table " + id +
            "</caption>"
            "<tr><th>Name</th><th colspan=2>Values</th><th>Notes</th></tr>";
    for (int r = 0; r < 6; ++r)
        html += "<tr><td>row " + std::to_string(r) + "</td><td align=right>" +
                std::to_string(r * 37 + n) + "</td><td>" + std::to_string(r * 11) + "</td><td>" +
                (r % 2 ? "<b>odd</b> row with a longer note" : "even") + "</td></tr>";
    html +=
        "<tr><td rowspan=2>spanning</td><td colspan=3><table><tr><td>inner</td>"
        "<td>table</td></tr></table></td></tr><tr><td>a</td><td>b</td><td>c</td></tr>"
        "</table>\n";
    return html;
}

std::string GeneratedHtml(std::size_t bytes)
{
    std::string html =
        "<html><head><title>Benchmark</title><style>.title { color: navy; margin-top: 20px }"
        " .body { text-indent: 12px; line-height: 1.3 } .mark { background-color: yellow }"
        " td { padding: 2px }</style></head><body>\n";
    for (int n = 0; html.size() < bytes; ++n)
        html += Chapter(n);
    return html + "</body></html>\n";
}

struct Timing
{
    double tokenize = 0;
    double build = 0;  // parse, build and lay out
};

// The best of three passes, so a busy machine counts less.
Timing Time(const std::string& html)
{
    Timing best;
    FakeCodePages codePages;
    FakeFontCatalog fonts;
    for (int pass = 0; pass < 3; ++pass) {
        auto start = Clock::now();
        std::size_t symbols = 0;
        {
            Tokenizer tokenizer(html, codePages);
            tokenizer.GetCh();
            for (tokenizer.ReadSymbol(); tokenizer.Symbol() != Sym::Eof; tokenizer.ReadSymbol())
                ++symbols;
        }
        const double tokenize = Seconds(start);
        start = Clock::now();
        int height = 0;
        {
            FakeTextMeasurer measurer;
            htmlview::Document document(measurer, fonts);
            DocumentBuilder builder(document, codePages);
            builder.Build(html);
            height = document.Layout(kLayoutWidth, 600);
        }
        const double build = Seconds(start);
        if (symbols == 0 || height <= 0) {
            std::fprintf(stderr, "the document did not build\n");
            std::exit(1);
        }
        best.tokenize = pass == 0 ? tokenize : std::min(best.tokenize, tokenize);
        best.build = pass == 0 ? build : std::min(best.build, build);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const long kilobytes = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1024;
    const std::string one = GeneratedHtml(static_cast<std::size_t>(kilobytes) * 1024);
    const std::string two = GeneratedHtml(static_cast<std::size_t>(kilobytes) * 2048);
    const Timing small = Time(one);
    const Timing large = Time(two);
    const double mb = one.size() / 1048576.0, mb2 = two.size() / 1048576.0;
    std::printf("document           %8.2f MB  %8.2f MB\n", mb, mb2);
    std::printf("tokenizer only     %8.3f s   %8.3f s\n", small.tokenize, large.tokenize);
    std::printf("parse and layout   %8.3f s   %8.3f s\n", small.build, large.build);
    std::printf("ratio core/tokenizer     %.2f        %.2f\n", small.build / small.tokenize,
                large.build / large.tokenize);
    std::printf("rate ratio twice the size  %.2f (1.00 = linear)\n",
                (mb / small.build) / (mb2 / large.build));
    return 0;
}
