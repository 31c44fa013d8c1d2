// THtmlPane: the page control that shows an HTML document, a plain text or a picture, with its
// published settings and events. The viewer's core lays out, scrolls, selects and follows links;
// the control hands it the settings at each load and relays its events. The window (a peer of its
// own) paints the core's plans and feeds it the mouse, wheel and keys.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/htmlview/viewer/html_viewer.h"
#include "setup/ui/control.h"
#include "setup/ui/std_controls.h"

namespace setup::ui {

enum THTMLBorderStyle
{
    htFocused,
    htNone,
    htSingle,
};
enum ThtmlPaneOption
{
    htOverLinksActive,
    htNoLinkUnderline,
    htPrintTableBackground,
    htPrintBackground,
    htPrintMonochromeBlack,
    htShowDummyCaret,
    htShowVScroll,
    htNoWheelMouse,
};
using ThtmlPaneOptions = TSet<ThtmlPaneOption>;

struct THotSpotEvent : forms::TEvent<const std::string&>
{
};
struct THotSpotClickEvent : forms::TEvent<const std::string&, bool&>
{
};
struct TMetaRefreshType : forms::TEvent<std::int32_t, const std::string&>
{
};
struct TMetaType : forms::TEvent<const std::string&, const std::string&, const std::string&>
{
};
struct TLinkType : forms::TEvent<const std::string&, const std::string&, const std::string&>
{
};
struct TSoundType : forms::TEvent<const std::string&, std::int32_t, bool>
{
};
struct TProcessingEvent : forms::TEvent<bool>
{
};
enum ThtProgressStage
{
    psStarting,
    psRunning,
    psEnding,
};
struct ThtProgressEvent : forms::TEvent<ThtProgressStage, std::int32_t>
{
};
struct TParseEvent : forms::TEvent<std::string&>
{
};
struct TIncludeType
    : forms::TEvent<const std::string&, const std::vector<std::string>&, std::string&>
{
};
struct TScriptEvent : forms::TEvent<const std::string&, const std::string&, const std::string&>
{
};
// A linked style sheet's text, or a picture's bytes: a handler that sets it replaces the file.
struct TGetStreamEvent : forms::TEvent<const std::string&, std::optional<std::string>&>
{
};
struct TGetImageEvent : forms::TEvent<const std::string&, std::optional<std::string>&>
{
};
// A picture for a source; the colour is its transparent colour (none is clNone).
struct TGetBitmapEvent
    : forms::TEvent<const std::string&, std::optional<htmlview::PixelImage>&, TColor&>
{
};
struct TImageClickEvent : forms::TEvent<const htmlview::InlineImage*, TMouseButton, TShiftState,
                                        std::int32_t, std::int32_t>
{
};
struct TImageOverEvent
    : forms::TEvent<const htmlview::InlineImage*, TShiftState, std::int32_t, std::int32_t>
{
};
struct TRightClickEvent : forms::TEvent<const htmlview::RightClickInfo&>
{
};
// A document's form controls: a submitted form (action, target, encoding type, method and the
// "name=value" items), a control's click, focus, blur and change with its script text, and a
// file field's browse button asking for a file name.
struct TFormSubmitEvent : forms::TEvent<const std::string&, const std::string&,
                                        const std::string&, const std::string&,
                                        const std::vector<std::string>&>
{
};
struct TObjectClickEvent : forms::TEvent<htmlview::FormControl*, const std::string&>
{
};
struct ThtObjectEvent : forms::TEvent<htmlview::FormControl*, const std::string&>
{
};
struct TFileBrowseEvent : forms::TEvent<htmlview::FormControl*, std::string&>
{
};

// The platform a pane measures, converts and reads files with: the system's in the Windows
// build, fixed-advance fakes with the process's files natively.
struct HtmlPanePlatform
{
    virtual ~HtmlPanePlatform() = default;
    virtual htmlview::ViewerServices Services() = 0;
};
std::unique_ptr<HtmlPanePlatform> MakeHtmlPanePlatform();

class THtmlPane : public TWinControl, private htmlview::IViewerWindow
{
public:
    FORMS_CLASS_INFO()
    explicit THtmlPane(forms::TComponent* owner);
    ~THtmlPane() override;
    using TControl::SetCursor;

    // Operations of the page runtime; loads throw htmlview::ViewerError for a missing file.
    void LoadFromFile(const std::string& reference);
    void LoadImageFile(const std::string& reference);
    void LoadTextFromString(const std::string& text);
    void LoadDocumentString(const std::string& source, const std::string& reference, int kind);
    std::string GetDocumentTitle() const { return m_viewer->Title(); }
    std::string GetCurrentFile() const { return m_viewer->CurrentFile(); }
    virtual std::string ExpandReference(const std::string& reference) const;
    virtual void Clear();
    bool ScrollToAnchor(const std::string& name) { return m_viewer->ScrollToAnchor(name); }
    void ActivateLink() { m_viewer->ActivateLink(); }

    htmlview::HtmlViewer& Viewer() { return *m_viewer; }
    bool HasViewer() const { return m_viewer != nullptr; }
    // The window's side of the viewer, once it exists.
    void AttachWindow(htmlview::IViewerWindow* window);
    // Where the document's form controls get their windows; none when the window goes.
    void AttachControlHost(htmlview::IControlHost* host);
    // The outer size changed: lay out again.
    void SetBounds(int left, int top, int width, int height) override;
    unsigned WantedKeys() const override { return kwArrows; }
    // The shift keys and buttons of the input the window is handing the viewer.
    TShiftState inputShift;
    // Hand the core the events assigned now: the loading ones before every load, the pointer
    // ones before every mouse input.
    void RelayLoadEvents();
    void RelayPointerEvents();

    // Published settings.
    bool ViewImages() const { return m_viewImages; }
    void SetViewImages(bool view);
    TColor DefBackground() const { return m_defBackground; }
    void SetDefBackground(TColor color);
    THTMLBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(THTMLBorderStyle style);
    std::int32_t HistoryMaxCount() const { return m_viewer->History().MaxCount(); }
    void SetHistoryMaxCount(std::int32_t count) { m_viewer->History().SetMaxCount(count); }
    std::int32_t VisitedMaxCount() const { return m_viewer->Visited().MaxCount(); }
    void SetVisitedMaxCount(std::int32_t count);
    std::int32_t ImageCacheCount() const { return m_imageCacheCount; }
    void SetImageCacheCount(std::int32_t count);
    bool NoSelect() const { return m_viewer->noSelect; }
    void SetNoSelect(bool noSelect);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle bars);
    const std::string& ServerRoot() const { return m_viewer->serverRoot; }
    void SetServerRoot(const std::string& root);
    double PrintScale() const { return m_printScale; }
    void SetPrintScale(double scale);
    ThtmlPaneOptions HtOptions() const { return m_options; }
    void SetHtOptions(ThtmlPaneOptions options);
    const std::string& DefPreFontName() const { return m_defPreFontName; }
    void SetDefPreFontName(const std::string& name);

    std::string defFontName = "Times New Roman";
    std::int32_t defFontSize = 12;
    TColor defFontColor = TColor(static_cast<std::int32_t>(0xFF000012));  // button text
    TColor defHotSpotColor = TColor(0xFF0000);                            // blue
    TColor defVisitedLinkColor = TColor(0x800080);                        // purple
    TColor defOverLinkColor = TColor(0xFF0000);
    forms::TFontCharset charSet = forms::TFontCharset(1);
    std::int32_t marginHeight = 5;
    std::int32_t marginWidth = 10;
    double printMarginLeft = 2.0, printMarginRight = 2.0, printMarginTop = 2.0,
           printMarginBottom = 2.0;

    THotSpotEvent onHotSpotCovered;
    THotSpotClickEvent onHotSpotClick;
    TMetaRefreshType onMetaRefresh;
    TMetaType onMeta;
    TLinkType onLink;
    TSoundType onSoundRequest;
    TNotifyEvent onHistoryChange;
    TProcessingEvent onProcessing;
    TNotifyEvent onParseEnd;
    TParseEvent onParseBegin;
    ThtProgressEvent onProgress;
    TIncludeType onInclude;
    TScriptEvent onScript;
    TGetStreamEvent onhtStreamRequest;
    TGetImageEvent onImageRequest;
    TGetBitmapEvent onBitmapRequest;
    TImageClickEvent onImageClick;
    TImageOverEvent onImageOver;
    TRightClickEvent onRightClick;
    TMouseEvent onMouseDouble;
    TFormSubmitEvent onFormSubmit;
    TObjectClickEvent onObjectClick;
    ThtObjectEvent onObjectFocus;
    ThtObjectEvent onObjectBlur;
    ThtObjectEvent onObjectChange;
    TFileBrowseEvent onFileBrowse;

private:
    void ApplySettings();
    void Relayout();
    // The viewer's window while none is attached: nothing shows yet.
    void Invalidate() override;
    void ScrollContents(int dy) override;
    void ArrangeBars(const htmlview::BarArrangement& bars, int vertical, int horizontal) override;
    void SetScrollPositions(int vertical, int horizontal) override;
    void SetCursor(htmlview::ViewerCursor cursor) override;
    void SetHoverTimer(bool on) override;
    void SetDragScrollTimer(bool on) override;
    void PostLinkActivation() override;
    void PostFormSubmit() override;
    void CopyText(const std::u16string& text) override;
    void TakeFocus() override;
    int WheelLines() const override;

    std::unique_ptr<HtmlPanePlatform> m_platform;
    std::unique_ptr<htmlview::HtmlViewer> m_viewer;
    htmlview::IViewerWindow* m_window = nullptr;
    bool m_viewImages = true;
    TColor m_defBackground = clBtnFace;
    THTMLBorderStyle m_borderStyle = htFocused;
    std::int32_t m_imageCacheCount = 5;
    TScrollStyle m_scrollBars = ssBoth;
    double m_printScale = 1.0;
    ThtmlPaneOptions m_options;
    std::string m_defPreFontName = "Courier New";
};

}  // namespace setup::ui

UI_ENUM_TYPE(THTMLBorderStyle, "htFocused", "htNone", "htSingle")
UI_ENUM_TYPE(ThtmlPaneOption, "htOverLinksActive", "htNoLinkUnderline", "htPrintTableBackground",
             "htPrintBackground", "htPrintMonochromeBlack", "htShowDummyCaret", "htShowVScroll",
             "htNoWheelMouse")
UI_EVENT_TYPE(THotSpotEvent)
UI_EVENT_TYPE(THotSpotClickEvent)
UI_EVENT_TYPE(TMetaRefreshType)
UI_EVENT_TYPE(TMetaType)
UI_EVENT_TYPE(TLinkType)
UI_EVENT_TYPE(TSoundType)
UI_EVENT_TYPE(TProcessingEvent)
UI_ENUM_TYPE(ThtProgressStage, "psStarting", "psRunning", "psEnding")
UI_EVENT_TYPE(ThtProgressEvent)
UI_EVENT_TYPE(TParseEvent)
UI_EVENT_TYPE(TIncludeType)
UI_EVENT_TYPE(TScriptEvent)
UI_EVENT_TYPE(TGetStreamEvent)
UI_EVENT_TYPE(TGetImageEvent)
UI_EVENT_TYPE(TGetBitmapEvent)
UI_EVENT_TYPE(TImageClickEvent)
UI_EVENT_TYPE(TImageOverEvent)
UI_EVENT_TYPE(TRightClickEvent)
UI_EVENT_TYPE(TFormSubmitEvent)
UI_EVENT_TYPE(TObjectClickEvent)
UI_EVENT_TYPE(ThtObjectEvent)
UI_EVENT_TYPE(TFileBrowseEvent)
