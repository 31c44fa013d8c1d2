// The viewer's core, free of any window: it loads HTML, plain text and images into its document,
// lays the document out for the window's size, keeps the scroll positions, the selection, the
// link under the mouse, the history and the visited links, and turns mouse, wheel and key input
// into scrolling, selecting and following links. A window drives it and paints its plans.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "setup/htmlview/builder/builder_hooks.h"
#include "setup/htmlview/images/image_loader.h"
#include "setup/htmlview/forms/form.h"
#include "setup/htmlview/images/pixel_image.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/style/style_list.h"
#include "setup/htmlview/viewer/link_rules.h"
#include "setup/htmlview/viewer/scroll_layout.h"
#include "setup/htmlview/viewer/viewer_window.h"

namespace htmlview {

class DocumentControls;
class ImageStore;

// The system services a viewer measures, converts and reads with.
struct ViewerServices
{
    ITextMeasurer& measurer;
    const IFontCatalog& fonts;
    const ICodePages& codePages;
    const IViewerFiles& files;
    ScreenColors screen{};  // the depth and shared palette pictures are kept in
};

enum class DocumentKind
{
    Html = 0,
    Text = 1,
    Image = 2
};

enum class MouseButton
{
    Left,
    Right,
    Middle
};

enum class ProgressStage
{
    Starting,
    Running,
    Ending
};

class InlineImage;

// What lies under the mouse at a right click: a picture (and the point on it), a link, a word.
struct RightClickInfo
{
    const InlineImage* image = nullptr;
    int imageX = 0, imageY = 0;
    std::string url, target;
    std::u16string word;
};

// The viewer's own error: a file that does not exist.
class ViewerError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class HtmlViewer
{
public:
    HtmlViewer(const ViewerServices& services, IViewerWindow& window);
    ~HtmlViewer();

    // Settings that take effect at the next load.
    DefaultSheetSettings sheetSettings;
    std::uint32_t defaultBackground = 0xF0F0F0;
    std::string serverRoot;
    bool noSelect = false;
    bool noWheelMouse = false;
    PaneGeometry pane;

    // Loads an HTML file (a reference may end in "#anchor"), recording history; nothing while
    // busy or for an empty reference. Throws ViewerError "Can't locate file: " for a missing one.
    void LoadFromFile(const std::string& reference);
    void LoadImageFile(const std::string& reference);
    // Shows a text as a document (kind Text: plain text); no history.
    void LoadDocumentString(const std::string& source, const std::string& reference,
                            DocumentKind kind);
    void LoadTextFromString(const std::string& text)
    {
        LoadDocumentString(text, {}, DocumentKind::Text);
    }
    void Clear();

    const std::string& Title() const { return m_title; }
    const std::string& CurrentFile() const { return m_currentFile; }
    DocumentKind CurrentKind() const { return m_kind; }
    const std::string& Base() const { return m_base; }
    std::string ExpandReference(const std::string& reference) const;
    bool ScrollToAnchor(const std::string& name);
    // Follows the stored link URL (a click or the posted activation).
    void ActivateLink();
    void SetLink(const std::string& url, const std::string& target);
    const std::string& LinkUrl() const { return m_linkUrl; }

    // Layout for the pane's current size, and the bars arranged; the place is kept.
    void Relayout();
    void ScrollToY(int y);
    void SetVerticalPosition(int y);
    int VerticalPosition() const { return m_vertical; }
    int HorizontalPosition() const { return m_horizontal; }
    void SetHorizontalPosition(int x);
    const BarArrangement& Bars() const { return m_bars; }
    int DocumentHeight() const { return m_docHeight; }
    int DocumentWidth() const { return m_docWidth; }

    // The plan for a rectangle of the paint area (its own coordinates).
    PaintPlan Paint(const Rect& clip);
    // A decoded picture by the source its document names, for the painter.
    const PixelImage* ImageFor(const std::string& source);
    const ScreenColors& Screen() const { return m_services.screen; }
    // Pictures unused for more loads than this are dropped.
    void SetImageCacheLimit(int limit);
    std::uint32_t BackgroundColor() const { return m_document->background; }

    // Input, in paint-area coordinates. Each returns after the window was told what changed.
    void MouseDown(MouseButton button, bool shift, int x, int y);
    void MouseMove(bool leftHeld, int x, int y);
    void MouseUp(MouseButton button, bool shift, int x, int y);
    void DoubleClick(int x, int y);
    void Wheel(int delta);
    // True when the key was used.
    bool KeyDown(std::uint16_t key, bool shift, bool ctrl);
    void HoverTimerTick(bool mouseInside);
    void DragScrollStep(int mouseY);

    // The selection as document positions, and its text (line breaks as CR LF).
    int SelectionStart() const { return m_document->selFrom; }
    int SelectionEnd() const { return m_document->selTo; }
    std::u16string SelectedText() const;
    void SelectAll();
    bool Panning() const { return m_panning; }

    // Where form controls get their windows; none: documents show no controls. A document
    // shown before the host came (or went) is built again quietly, keeping what was typed and
    // the place.
    void SetControlHost(IControlHost* host);
    // The window's posted form submission: raises onFormSubmit.
    void DeliverFormSubmit();
    // The shown document's tab stops and control events; none without a host.
    DocumentControls* Controls() { return m_controls.get(); }
    // A control or link (`link`) took the focus: scrolled into view when out of it.
    void BringIntoView(int y, bool link);

    Document& GetDocument() { return *m_document; }
    const VisitedList& Visited() const { return m_visited; }
    VisitedList& Visited() { return m_visited; }
    PageHistory& History() { return m_history; }
    bool Busy() const { return m_busy; }

    // Events the owner hears.
    std::function<bool(const std::string& url)> onHotSpotClick;  // true: handled
    std::function<void(const std::string& url)> onHotSpotCovered;
    std::function<void(int delay, const std::string& url)> onMetaRefresh;
    std::function<void(const std::string& httpEquiv, const std::string& name,
                       const std::string& content)>
        onMeta;
    std::function<void(const std::string& rel, const std::string& rev, const std::string& href)>
        onLink;
    std::function<void(const std::string& source, int loop, bool terminate)> onSoundRequest;
    std::function<void()> onHistoryChange;
    std::function<void(bool busy)> onProcessing;
    std::function<void(std::string& source)> onParseBegin;
    std::function<void()> onParseEnd;
    // Starting (0) before a load or relayout, Running with a percentage while the source is
    // read, Ending (100) when it is over, whatever happened.
    std::function<void(ProgressStage stage, int percent)> onProgress;
    std::function<std::string(const std::string& command, const std::vector<std::string>& params)>
        onInclude;
    std::function<void(const std::string& name, const std::string& language,
                       const std::string& script)>
        onScript;
    // Asked before a file is read: a linked style sheet's text, a picture's bytes, a picture.
    std::function<std::optional<std::string>(const std::string& source)> onStreamRequest;
    std::function<std::optional<std::string>(const std::string& source)> onImageRequest;
    std::function<std::optional<PixelImage>(const std::string& source)> onBitmapRequest;
    // Pointer events on pictures, with the point on the picture.
    std::function<void(const InlineImage& image, int x, int y)> onImageOver;
    std::function<void(const InlineImage& image, MouseButton button, bool shift, int x, int y)>
        onImageClick;
    std::function<void(const RightClickInfo& info)> onRightClick;
    std::function<void(int x, int y)> onMouseDouble;
    std::function<void(const Form::Submitted&)> onFormSubmit;
    std::function<void(FormControl&, ObjectEvent, const std::string& message)> onObjectEvent;
    std::function<void(EditControl&, std::string& fileName)> onFileBrowse;

private:
    void LoadFile(const std::string& reference, DocumentKind kind);
    void LoadFileRecorded(const std::string& reference, DocumentKind kind);
    void NewDocument();
    void Prepare();
    void Parse(const std::string& source, DocumentKind kind, const std::string& imageName,
               bool quiet = false);
    void FinishParse(bool quiet = false);
    void AttachControls();
    bool HasWindowControls() const;
    void FormatDocument();
    void MarkVisitedLinks();
    void RememberVisited(const std::string& url);
    std::string FullUrlOf(const std::string& linkUrl) const;
    void SetBusy(bool busy);
    void PushHistory(const PageHistory::Entry& left);
    PageHistory::Entry Here() const;
    int PanelHeight() const { return m_bars.paintHeight; }
    int CharIndexAt(int x, int y, bool* inText = nullptr);
    void ExtendSelection(int x, int y);
    bool WordAt(int x, int y, int& start, int& end);
    // The picture click and the right-click report at a released button.
    void PointerEventsAt(MouseButton button, bool shift, int x, int y);
    void ScrollVertically(int target, bool allowShift);
    void Progress(ProgressStage stage, int percent);
    // Raises Ending when a load or relayout is left, however it is left.
    struct ProgressEnd
    {
        HtmlViewer& viewer;
        ~ProgressEnd() { viewer.Progress(ProgressStage::Ending, 100); }
    };
    // The share of the progress that reading the source takes (the layout has the rest).
    int m_progressStart = 75;

    ViewerServices m_services;
    IViewerWindow& m_window;
    std::unique_ptr<Document> m_document;
    IControlHost* m_host = nullptr;
    std::unique_ptr<DocumentControls> m_controls;  // goes before the document it serves
    std::optional<Form::Submitted> m_pendingSubmit;
    bool m_focusingLink = false;
    std::unique_ptr<ImageStore> m_images;
    VisitedList m_visited;
    PageHistory m_history;
    std::string m_title, m_base, m_baseTarget, m_currentFile, m_source;
    DocumentKind m_kind = DocumentKind::Html;
    std::string m_linkUrl, m_linkTarget;
    std::optional<MetaRefresh> m_refresh;
    BarArrangement m_bars;
    int m_docHeight = 0, m_docWidth = 0;
    int m_vertical = 0, m_horizontal = 0;
    int m_caret = 0, m_selectionAnchor = -1;
    bool m_busy = false;
    bool m_leftDown = false, m_selecting = false, m_linkJustClicked = false;
    bool m_panning = false, m_dragScrolling = false;
    int m_panStartY = 0;
};

}  // namespace htmlview
