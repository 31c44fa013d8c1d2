// Shows an HTML page with a table and a form in a window (the text painted through the viewer's
// paint plan, the form's controls as real child windows) and writes its picture into the folder
// given as the argument. scripts/screenshot.sh runs it.
#include <windows.h>

#include <string>

#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/forms/control_host_win32.h"
#include "setup/htmlview/forms/form.h"
#include "setup/htmlview/layout/canvas_win32.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/util/platform_win32.h"
#include "tests/support/window_capture_win32.h"

namespace {

using namespace htmlview;

constexpr int kWidth = 640, kHeight = 520;

const char kPage[] = R"(<html><head><title>Order</title></head>
<body bgcolor=white>
<h2>Choose your edition</h2>
<table border=2 cellpadding=4 cellspacing=2 width=95% bgcolor=#f4f4f4>
<caption><b>Editions</b> at a glance</caption>
<tr bgcolor=#336699><th><font color=white>Edition</font><th><font color=white>Shredding</font>
<th><font color=white>Price</font>
<tr><td>Home<td>Files and folders, the Recycle Bin<td align=right>19.95
<tr><td>Professional<td rowspan=2 bgcolor=#ffffcc>Whole drives, free space and
the previous versions of files<td align=right>39.95
<tr><td nowrap>Small office<td align=right>79.95
</table>
<form action="order" method=post>
<table cellpadding=3>
<tr><td>Name:<td><input name=name size=30 value="A. Customer">
<tr><td>Edition:<td><select name=edition><option>Home<option selected>Professional
<option>Small office</select>
<tr><td valign=top>Extras:<td><select name=extras size=3 multiple><option selected>Manual
<option>Support<option>Updates</select>
<tr><td>Licence:<td><input type=radio name=licence value=1 checked> one PC
<input type=radio name=licence value=3> three PCs <input type=checkbox name=news checked> news
<tr><td valign=top>Notes:<td><textarea name=notes rows=3 cols=40>Deliver by e-mail.</textarea>
<tr><td><td><input type=submit value="Order now"> <input type=reset>
</table>
</form>
</body></html>)";

struct Page
{
    Document* document = nullptr;
    ControlHostWin32* host = nullptr;
};

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* page = reinterpret_cast<Page*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            if (page && page->document) {
                const RECT& r = paint.rcPaint;
                ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
                DrawPlan(dc, page->document->Paint({r.left, r.top, r.right, r.bottom}));
            }
            ::EndPaint(window, &paint);
            return 0;
        }
        case WM_COMMAND:
            if (page && page->host && page->host->HandleCommand(wParam, lParam))
                return 0;
            break;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    std::wstring folder = argv[1];
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PageProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"HtmlScreenshotPage";
    ::RegisterClassW(&windowClass);
    RECT frame{0, 0, kWidth, kHeight};
    ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window =
        ::CreateWindowW(L"HtmlScreenshotPage", L"Order", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20,
                        20, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                        windowClass.hInstance, nullptr);
    if (!window)
        return 1;

    CodePagesWin32 codePages;
    FontCatalogWin32 fonts;
    TextMeasurerWin32 measurer;
    ControlHostWin32 host(window);
    Document document(measurer, fonts);
    document.controlHost = &host;
    host.onEvent = [&document](int id, ControlEvent event) {
        DispatchControlEvent(document.forms, id, event);
    };
    DocumentBuilder builder(document, codePages);
    builder.Build(kPage);
    document.Layout(kWidth, kHeight);
    Page page{&document, &host};
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&page));
    // Closing the window destroys the controls' windows with it.
    const bool saved = testsupport::CaptureAndClose(window, folder + L"html_table_form.bmp");
    return saved ? 0 : 1;
}
