#include "setup/ui/html_pane.h"

#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/util/text.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

// A form colour as the viewer takes it: red in the low byte, system colours looked up.
std::uint32_t ViewerColor(TColor color, const htmlview::IFontCatalog& fonts)
{
    const auto value = static_cast<std::uint32_t>(color);
    if ((value & 0xFF000000u) == 0xFF000000u)
        return fonts.SystemColor(static_cast<int>(value & 0xFF));
    return value & 0xFFFFFF;
}

TMouseButton ButtonOf(htmlview::MouseButton button)
{
    return button == htmlview::MouseButton::Left    ? mbLeft
           : button == htmlview::MouseButton::Right ? mbRight
                                                    : mbMiddle;
}

}  // namespace

const ClassInfo& THtmlPane::StaticClass()
{
    using P = THtmlPane;
    static const ClassInfo info =
        ClassBuilder<P>("THtmlPane", &TWinControl::StaticClass())
            .Property("ViewImages", &P::ViewImages, &P::SetViewImages)
            .Property("DefBackground", &P::DefBackground, &P::SetDefBackground)
            .Property("BorderStyle", &P::BorderStyle, &P::SetBorderStyle)
            .Property("HistoryMaxCount", &P::HistoryMaxCount, &P::SetHistoryMaxCount)
            .Property("DefFontName", &P::defFontName)
            .Property("DefPreFontName", &P::DefPreFontName, &P::SetDefPreFontName)
            .Property("DefFontSize", &P::defFontSize)
            .Property("DefFontColor", &P::defFontColor)
            .Property("DefHotSpotColor", &P::defHotSpotColor)
            .Property("DefVisitedLinkColor", &P::defVisitedLinkColor)
            .Property("DefOverLinkColor", &P::defOverLinkColor)
            .Property("VisitedMaxCount", &P::VisitedMaxCount, &P::SetVisitedMaxCount)
            .Property("ImageCacheCount", &P::ImageCacheCount, &P::SetImageCacheCount)
            .Property("NoSelect", &P::NoSelect, &P::SetNoSelect)
            .Property("ScrollBars", &P::ScrollBars, &P::SetScrollBars)
            .Property("CharSet", &P::charSet)
            .Property("MarginHeight", &P::marginHeight)
            .Property("MarginWidth", &P::marginWidth)
            .Property("ServerRoot", &P::ServerRoot, &P::SetServerRoot)
            .Property("PrintMarginLeft", &P::printMarginLeft)
            .Property("PrintMarginRight", &P::printMarginRight)
            .Property("PrintMarginTop", &P::printMarginTop)
            .Property("PrintMarginBottom", &P::printMarginBottom)
            .Property("PrintScale", &P::PrintScale, &P::SetPrintScale)
            .Property("htOptions", &P::HtOptions, &P::SetHtOptions)
            .Property("OnHotSpotCovered", &P::onHotSpotCovered)
            .Property("OnHotSpotClick", &P::onHotSpotClick)
            .Property("OnMetaRefresh", &P::onMetaRefresh)
            .Property("OnMeta", &P::onMeta)
            .Property("OnLink", &P::onLink)
            .Property("OnSoundRequest", &P::onSoundRequest)
            .Property("OnHistoryChange", &P::onHistoryChange)
            .Property("OnProcessing", &P::onProcessing)
            .Property("OnParseEnd", &P::onParseEnd)
            .Property("OnParseBegin", &P::onParseBegin)
            .Property("OnProgress", &P::onProgress)
            .Property("OnInclude", &P::onInclude)
            .Property("OnScript", &P::onScript)
            .Property("OnhtStreamRequest", &P::onhtStreamRequest)
            .Property("OnImageRequest", &P::onImageRequest)
            .Property("OnBitmapRequest", &P::onBitmapRequest)
            .Property("OnImageClick", &P::onImageClick)
            .Property("OnImageOver", &P::onImageOver)
            .Property("OnRightClick", &P::onRightClick)
            .Property("OnMouseDouble", &P::onMouseDouble)
            .Property("OnFormSubmit", &P::onFormSubmit)
            .Property("OnObjectClick", &P::onObjectClick)
            .Property("OnObjectFocus", &P::onObjectFocus)
            .Property("OnObjectBlur", &P::onObjectBlur)
            .Property("OnObjectChange", &P::onObjectChange)
            .Property("OnFileBrowse", &P::onFileBrowse)
            .Build();
    return info;
}

THtmlPane::THtmlPane(forms::TComponent* owner)
    : TWinControl(owner), m_platform(MakeHtmlPanePlatform())
{
    htmlview::IViewerWindow& window = *this;  // the control stands in until a window exists
    m_viewer = std::make_unique<htmlview::HtmlViewer>(m_platform->Services(), window);
    m_options.Include(htPrintTableBackground);
    m_options.Include(htPrintMonochromeBlack);
    SetParentColor(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 150, 150);
    // The core's events become the control's.
    htmlview::HtmlViewer& viewer = *m_viewer;
    viewer.onHotSpotClick = [this](const std::string& url) {
        bool handled = false;
        onHotSpotClick(this, url, handled);
        return handled;
    };
    viewer.onHotSpotCovered = [this](const std::string& url) { onHotSpotCovered(this, url); };
    viewer.onMetaRefresh = [this](int delay, const std::string& url) {
        onMetaRefresh(this, delay, url);
    };
    viewer.onMeta = [this](const std::string& httpEquiv, const std::string& name,
                           const std::string& content) { onMeta(this, httpEquiv, name, content); };
    viewer.onLink = [this](const std::string& rel, const std::string& rev,
                           const std::string& href) { onLink(this, rel, rev, href); };
    viewer.onSoundRequest = [this](const std::string& source, int loop, bool terminate) {
        onSoundRequest(this, source, loop, terminate);
    };
    viewer.onHistoryChange = [this] { onHistoryChange(this); };
    viewer.onProcessing = [this](bool busy) { onProcessing(this, busy); };
    viewer.onParseEnd = [this] { onParseEnd(this); };
    // Form controls in the document.
    viewer.onFormSubmit = [this](const htmlview::Form::Submitted& s) {
        onFormSubmit(this, s.action, s.target, s.encType, s.method, s.items);
    };
    viewer.onObjectEvent = [this](htmlview::FormControl& control, htmlview::ObjectEvent event,
                                  const std::string& message) {
        switch (event) {
            case htmlview::ObjectEvent::Click:
                onObjectClick(this, &control, message);
                break;
            case htmlview::ObjectEvent::Focus:
                onObjectFocus(this, &control, message);
                break;
            case htmlview::ObjectEvent::Blur:
                onObjectBlur(this, &control, message);
                break;
            case htmlview::ObjectEvent::Change:
                onObjectChange(this, &control, message);
                break;
        }
    };
    viewer.onFileBrowse = [this](htmlview::EditControl& edit, std::string& fileName) {
        onFileBrowse(this, &edit, fileName);
    };
}

// The core is given a relay only for an assigned event: unasked, it keeps its own ways (files
// read, scripts and includes skipped, no picture or right-click hit tests).
void THtmlPane::RelayLoadEvents()
{
    htmlview::HtmlViewer& viewer = *m_viewer;
    viewer.onParseBegin = nullptr;
    if (onParseBegin)
        viewer.onParseBegin = [this](std::string& source) { onParseBegin(this, source); };
    viewer.onProgress = nullptr;
    if (onProgress)
        viewer.onProgress = [this](htmlview::ProgressStage stage, int percent) {
            onProgress(this,
                       stage == htmlview::ProgressStage::Starting  ? psStarting
                       : stage == htmlview::ProgressStage::Running ? psRunning
                                                                   : psEnding,
                       percent);
        };
    viewer.onInclude = nullptr;
    if (onInclude)
        viewer.onInclude = [this](const std::string& command,
                                  const std::vector<std::string>& params) {
            std::string text;
            onInclude(this, command, params, text);
            return text;
        };
    viewer.onScript = nullptr;
    if (onScript)
        viewer.onScript = [this](const std::string& name, const std::string& language,
                                 const std::string& script) {
            onScript(this, name, language, script);
        };
    viewer.onStreamRequest = nullptr;
    if (onhtStreamRequest)
        viewer.onStreamRequest = [this](const std::string& source) {
            std::optional<std::string> stream;
            onhtStreamRequest(this, source, stream);
            return stream;
        };
    viewer.onImageRequest = nullptr;
    if (onImageRequest)
        viewer.onImageRequest = [this](const std::string& source) {
            std::optional<std::string> stream;
            onImageRequest(this, source, stream);
            return stream;
        };
    viewer.onBitmapRequest = nullptr;
    if (onBitmapRequest)
        viewer.onBitmapRequest = [this](const std::string& source) {
            std::optional<htmlview::PixelImage> bitmap;
            TColor transparent = clNone;
            onBitmapRequest(this, source, bitmap, transparent);
            return bitmap;
        };
}

void THtmlPane::RelayPointerEvents()
{
    htmlview::HtmlViewer& viewer = *m_viewer;
    viewer.onImageOver = nullptr;
    if (onImageOver)
        viewer.onImageOver = [this](const htmlview::InlineImage& image, int x, int y) {
            onImageOver(this, &image, inputShift, x, y);
        };
    viewer.onImageClick = nullptr;
    if (onImageClick)
        viewer.onImageClick = [this](const htmlview::InlineImage& image,
                                     htmlview::MouseButton button, bool, int x, int y) {
            onImageClick(this, &image, ButtonOf(button), inputShift, x, y);
        };
    viewer.onRightClick = nullptr;
    if (onRightClick)
        viewer.onRightClick = [this](const htmlview::RightClickInfo& info) {
            onRightClick(this, info);
        };
    viewer.onMouseDouble = nullptr;
    if (onMouseDouble)
        viewer.onMouseDouble = [this](int x, int y) {
            onMouseDouble(this, mbLeft, inputShift, x, y);
        };
}

THtmlPane::~THtmlPane()
{
    // The document's controls go while their host (the window's) still stands; the window
    // after them, while this pane still does.
    m_viewer.reset();
    DestroyHandle();
}

void THtmlPane::ApplySettings()
{
    RelayLoadEvents();
    RelayPointerEvents();
    const htmlview::IFontCatalog& fonts = m_platform->Services().fonts;
    htmlview::DefaultSheetSettings& sheet = m_viewer->sheetSettings;
    sheet.fontName = defFontName;
    sheet.preFontName = m_defPreFontName.substr(0, 32);
    sheet.fontPoints = defFontSize;
    sheet.textColor = ViewerColor(defFontColor, fonts);
    sheet.linkColor = ViewerColor(defHotSpotColor, fonts);
    sheet.visitedColor = ViewerColor(defVisitedLinkColor, fonts);
    sheet.hoverColor = ViewerColor(defOverLinkColor, fonts);
    sheet.charset = charSet;
    sheet.marginWidth = marginWidth;
    sheet.marginHeight = marginHeight;
    sheet.underlineLinks = !m_options.Has(htNoLinkUnderline);
    m_viewer->defaultBackground = ViewerColor(m_defBackground, fonts);
    m_viewer->noWheelMouse = m_options.Has(htNoWheelMouse);
    htmlview::PaneGeometry& pane = m_viewer->pane;
    pane.width = Width();
    pane.height = Height();
    pane.border = m_borderStyle == htNone ? 0 : 2;
    pane.keepVerticalBar = m_options.Has(htShowVScroll);
    pane.bars = m_scrollBars == ssNone         ? htmlview::ScrollStyle::None
                : m_scrollBars == ssHorizontal ? htmlview::ScrollStyle::Horizontal
                : m_scrollBars == ssVertical   ? htmlview::ScrollStyle::Vertical
                                               : htmlview::ScrollStyle::Both;
}

void THtmlPane::LoadFromFile(const std::string& reference)
{
    ApplySettings();
    m_viewer->LoadFromFile(reference);
}

void THtmlPane::LoadImageFile(const std::string& reference)
{
    ApplySettings();
    m_viewer->LoadImageFile(reference);
}

void THtmlPane::LoadTextFromString(const std::string& text)
{
    LoadDocumentString(text, {}, 1);
}

void THtmlPane::LoadDocumentString(const std::string& source, const std::string& reference,
                                   int kind)
{
    ApplySettings();
    m_viewer->LoadDocumentString(
        source, reference, kind == 0 ? htmlview::DocumentKind::Html : htmlview::DocumentKind::Text);
}

std::string THtmlPane::ExpandReference(const std::string& reference) const
{
    return m_viewer->ExpandReference(reference);
}

void THtmlPane::Clear()
{
    ApplySettings();
    m_viewer->Clear();
}

void THtmlPane::Relayout()
{
    ApplySettings();
    m_viewer->Relayout();
}

void THtmlPane::AttachWindow(htmlview::IViewerWindow* window)
{
    m_window = window;
    if (window)
        Relayout();
}

void THtmlPane::AttachControlHost(htmlview::IControlHost* host)
{
    if (m_viewer)
        m_viewer->SetControlHost(host);
}

void THtmlPane::SetBounds(int left, int top, int width, int height)
{
    const bool resized = width != Width() || height != Height();
    TWinControl::SetBounds(left, top, width, height);
    if (resized && m_viewer)
        Relayout();
}

void THtmlPane::SetViewImages(bool view)
{
    if (view == m_viewImages || m_viewer->Busy())
        return;
    m_viewImages = view;
    m_viewer->GetDocument().imagesShown = view;
    Relayout();
}

void THtmlPane::SetDefBackground(TColor color)
{
    if (m_viewer->Busy())
        return;
    m_defBackground = color;
    SetColor(color);
    Invalidate();
}

void THtmlPane::SetBorderStyle(THTMLBorderStyle style)
{
    m_borderStyle = style;
    Changed(Aspect::Style);
}

void THtmlPane::SetVisitedMaxCount(std::int32_t count)
{
    m_viewer->Visited().SetMaxCount(count);
    if (count <= 0) {
        for (htmlview::FontRun* run : m_viewer->GetDocument().links)
            run->SetVisited(false);
        Invalidate();
    }
}

void THtmlPane::SetImageCacheCount(std::int32_t count)
{
    const std::int32_t limit = std::clamp(count, 0, 20);
    if (limit != m_imageCacheCount)
        m_viewer->SetImageCacheLimit(limit);
    m_imageCacheCount = limit;
}

void THtmlPane::SetNoSelect(bool noSelect)
{
    m_viewer->noSelect = noSelect;
    if (noSelect) {
        htmlview::Document& document = m_viewer->GetDocument();
        document.selFrom = document.selTo = 0;
        Invalidate();
    }
}

void THtmlPane::SetScrollBars(TScrollStyle bars)
{
    if (bars == m_scrollBars)
        return;
    m_scrollBars = bars;
    if (m_window)
        Relayout();
}

void THtmlPane::SetServerRoot(const std::string& root)
{
    std::string trimmed(htmlview::Trim(root));
    if (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    m_viewer->serverRoot = trimmed;
}

void THtmlPane::SetPrintScale(double scale)
{
    m_printScale = std::clamp(scale, 0.25, 4.0);
}

void THtmlPane::SetHtOptions(ThtmlPaneOptions options)
{
    m_options = options;
    m_viewer->GetDocument().showDummyCaret = options.Has(htShowDummyCaret);
}

void THtmlPane::SetDefPreFontName(const std::string& name)
{
    if (!htmlview::EqualsNoCase(name, m_defPreFontName))
        m_defPreFontName = name;
}

void THtmlPane::Invalidate()
{
    if (m_window)
        m_window->Invalidate();
}

void THtmlPane::ScrollContents(int dy)
{
    if (m_window)
        m_window->ScrollContents(dy);
}

void THtmlPane::ArrangeBars(const htmlview::BarArrangement& bars, int vertical, int horizontal)
{
    if (m_window)
        m_window->ArrangeBars(bars, vertical, horizontal);
}

void THtmlPane::SetScrollPositions(int vertical, int horizontal)
{
    if (m_window)
        m_window->SetScrollPositions(vertical, horizontal);
}

void THtmlPane::SetCursor(htmlview::ViewerCursor cursor)
{
    if (m_window)
        m_window->SetCursor(cursor);
}

void THtmlPane::SetHoverTimer(bool on)
{
    if (m_window)
        m_window->SetHoverTimer(on);
}

void THtmlPane::SetDragScrollTimer(bool on)
{
    if (m_window)
        m_window->SetDragScrollTimer(on);
}

void THtmlPane::PostLinkActivation()
{
    if (m_window)
        m_window->PostLinkActivation();
}

void THtmlPane::PostFormSubmit()
{
    if (m_window)
        m_window->PostFormSubmit();
}

void THtmlPane::CopyText(const std::u16string& text)
{
    if (m_window)
        m_window->CopyText(text);
}

void THtmlPane::TakeFocus()
{
    if (m_window)
        m_window->TakeFocus();
}

int THtmlPane::WheelLines() const
{
    return m_window ? m_window->WheelLines() : 3;
}

}  // namespace setup::ui
