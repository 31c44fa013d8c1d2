// Any bytes as an HTML document: built into sections, laid out at a width the first byte picks,
// painted, and asked for links, carets and characters across the page; its forms submitted. A
// linked style sheet is the document's own text read as CSS.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/forms/fake_control_host.h"
#include "setup/htmlview/forms/form.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/util/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace htmlview;
    if (size == 0)
        return 0;
    const int width = 20 + data[0] * 4;
    const std::string html(reinterpret_cast<const char*>(data) + 1, size - 1);
    FakeCodePages codePages;
    FakeFontCatalog fonts;
    FakeTextMeasurer measurer;
    FakeControlHost host;
    Document document(measurer, fonts);
    document.controlHost = &host;
    document.imageSize = [](const std::string& source) -> std::optional<ImageSize> {
        if (source.empty() || source[0] == 'm')
            return std::nullopt;  // missing
        return ImageSize{static_cast<int>(source.size()) * 7 % 300,
                         static_cast<int>(source.size()) * 3 % 200};
    };
    DocumentBuilder builder(document, codePages);
    builder.hooks.loadStyleSheet = [&html](const std::string&) {
        return std::optional<LinkedSheet>(LinkedSheet{html, "C:\\"});
    };
    builder.hooks.onMeta = [](const std::string&, const std::string&, const std::string&) {};
    builder.hooks.onSound = [](const std::string&, int, bool) {};
    builder.Build(html);
    document.TabStopLinks();
    const int height = document.Layout(width, 300);
    if (height < 0)
        std::abort();
    document.selFrom = 1;
    document.selTo = 7;
    document.Paint({0, 0, width, 400});
    for (int y = -10; y < height + 20; y += 13) {
        for (int x = -5; x < width + 10; x += 17) {
            LinkHit hit;
            document.HitLink(x, y, hit);
            CaretHit caret;
            const int pos = document.CaretAtPoint(x, y, caret);
            char16_t ch = 0;
            if (pos >= 0)
                document.CharAt(pos, ch);
            int px = 0, py = 0;
            document.PointOfCaret(pos, px, py);
        }
    }
    for (int index = 0; index < static_cast<int>(size); index += 5) {
        document.DocIndexOf(index, true);
        document.DocIndexOf(index, false);
    }
    document.DumpLayout();
    // Every form submits, resets and hears its controls' events.
    for (const auto& form : document.forms) {
        form->SubmissionList();
        form->ResetControls();
    }
    for (int id = 1; id < host.next && id < 50; ++id)
        for (ControlEvent event : {ControlEvent::Enter, ControlEvent::Click, ControlEvent::Leave,
                                   ControlEvent::ArrowForward, ControlEvent::Return})
            DispatchControlEvent(document.forms, id, event);
    return 0;
}
