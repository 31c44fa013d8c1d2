#include "setup/htmlview/viewer/html_viewer.h"

#include <algorithm>
#include <cstdlib>

#include "setup/htmlview/builder/document_builder.h"
#include "setup/htmlview/layout/background_tiles.h"
#include "setup/htmlview/layout/block.h"
#include "setup/htmlview/layout/font_run.h"
#include "setup/htmlview/layout/inline_control.h"
#include "setup/htmlview/layout/text_section.h"
#include "setup/htmlview/style/colors.h"
#include "setup/htmlview/style/keywords.h"
#include "setup/htmlview/util/text.h"
#include "setup/htmlview/viewer/document_controls.h"
#include "setup/htmlview/viewer/image_store.h"

namespace htmlview {

namespace {

constexpr std::uint16_t kKeyC = 'C', kKeyA = 'A';
constexpr std::uint16_t kKeyPrior = 0x21, kKeyNext = 0x22, kKeyEnd = 0x23, kKeyHome = 0x24;
constexpr std::uint16_t kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28;
// Panning and selecting past an edge start scrolling this far from where they began.
constexpr int kPanThreshold = 20;

bool IsWordChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           c >= 192;
}

}  // namespace

HtmlViewer::HtmlViewer(const ViewerServices& services, IViewerWindow& window)
    : m_services(services),
      m_window(window),
      m_document(std::make_unique<Document>(services.measurer, services.fonts)),
      m_images(std::make_unique<ImageStore>(
          services.files, [this](const std::string& source) { return ExpandReference(source); },
          services.screen))
{
    m_images->Cache().SetLimit(5);
    m_images->bitmapRequest = [this](const std::string& source) -> std::optional<PixelImage> {
        return onBitmapRequest ? onBitmapRequest(source) : std::nullopt;
    };
    m_images->streamRequest = [this](const std::string& source) -> std::optional<std::string> {
        return onImageRequest ? onImageRequest(source) : std::nullopt;
    };
    m_document->background = defaultBackground;
}

HtmlViewer::~HtmlViewer()
{
    // The document's controls and link stops go now, while their host still stands.
    if (m_host)
        m_host->onEvent = nullptr;
    m_controls.reset();
    m_document.reset();
}

void HtmlViewer::SetBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (onProcessing)
        onProcessing(busy);
}

std::string HtmlViewer::ExpandReference(const std::string& reference) const
{
    ReferenceContext context;
    context.base = m_base;
    context.currentFile = m_currentFile;
    context.serverRoot = serverRoot;
    context.fullPath = [this](const std::string& path) { return m_services.files.FullPath(path); };
    return htmlview::ExpandReference(reference, context);
}

PageHistory::Entry HtmlViewer::Here() const
{
    PageHistory::Entry here;
    here.file = m_currentFile;
    here.title = m_title;
    here.kind = static_cast<int>(m_kind);
    here.position = AnchorOf(*m_document, m_vertical);
    return here;
}

void HtmlViewer::PushHistory(const PageHistory::Entry& left)
{
    if (m_history.Push(left, Here()) && onHistoryChange)
        onHistoryChange();
}

void HtmlViewer::LoadFromFile(const std::string& reference)
{
    LoadFileRecorded(reference, DocumentKind::Html);
}

void HtmlViewer::LoadImageFile(const std::string& reference)
{
    LoadFileRecorded(reference, DocumentKind::Image);
}

void HtmlViewer::LoadFileRecorded(const std::string& reference, DocumentKind kind)
{
    if (m_busy || reference.empty())
        return;
    PageHistory::Entry left = Here();
    left.formValues = SaveFormValues(*m_document);
    LoadFile(reference, kind);
    if (m_currentFile != left.file || static_cast<int>(m_kind) != left.kind)
        PushHistory(left);
}

void HtmlViewer::NewDocument()
{
    // The pane's display settings outlive the document they were given to.
    const bool imagesShown = !m_document || m_document->imagesShown;
    const bool dummyCaret = m_document && m_document->showDummyCaret;
    m_controls.reset();
    m_document = std::make_unique<Document>(m_services.measurer, m_services.fonts);
    m_document->imagesShown = imagesShown;
    m_document->showDummyCaret = dummyCaret;
    m_document->controlHost = m_host;
    m_document->background = defaultBackground;
    m_document->imageSize = [this](const std::string& source) -> std::optional<ImageSize> {
        if (const PixelImage* image = m_images->Find(source))
            return ImageSize{image->width, image->height};
        return std::nullopt;
    };
}

void HtmlViewer::Prepare()
{
    NewDocument();
    m_images->Age();
    m_caret = 0;
    m_selectionAnchor = -1;
    m_linkUrl.clear();
    m_linkTarget.clear();
}

void HtmlViewer::LoadFile(const std::string& reference, DocumentKind kind)
{
    const NameAndAnchor split = SplitAnchor(reference);
    m_refresh.reset();
    SetBusy(true);
    struct NotBusy
    {
        HtmlViewer& viewer;
        ~NotBusy() { viewer.SetBusy(false); }
    } notBusy{*this};
    const ProgressEnd progressEnd{*this};
    if (!m_services.files.FileExists(split.name))
        throw ViewerError("Can't locate file: " + split.name);
    m_progressStart = 75;
    Progress(ProgressStage::Starting, 0);
    Prepare();
    const std::string oldFile = m_currentFile;
    m_currentFile = m_services.files.FullPath(split.name);
    m_kind = kind;
    std::string source;
    if (kind != DocumentKind::Image)
        source = m_services.files.ReadFile(split.name).value_or(std::string());
    if (onParseBegin)
        onParseBegin(source);
    Parse(source, kind, split.name);
    FinishParse();
    MarkVisitedLinks();
    if ((split.anchor.empty() || !ScrollToAnchor(split.anchor)) && m_currentFile != oldFile) {
        m_horizontal = 0;
        ScrollToY(0);
    }
    m_window.Invalidate();
    SetBusy(false);
    if (m_refresh && onMetaRefresh)
        onMetaRefresh(m_refresh->delay, m_refresh->url);
}

void HtmlViewer::LoadDocumentString(const std::string& source, const std::string& reference,
                                    DocumentKind kind)
{
    if (m_busy)
        return;
    SetBusy(true);
    m_refresh.reset();
    struct NotBusy
    {
        HtmlViewer& viewer;
        ~NotBusy() { viewer.SetBusy(false); }
    } notBusy{*this};
    const ProgressEnd progressEnd{*this};
    const NameAndAnchor split = SplitAnchor(reference);
    const std::string oldFile = m_currentFile;
    m_currentFile = split.name.empty() ? std::string() : m_services.files.FullPath(split.name);
    m_kind = kind == DocumentKind::Html ? DocumentKind::Html : DocumentKind::Text;
    m_progressStart = 75;
    Progress(ProgressStage::Starting, 0);
    Prepare();
    std::string text = source;
    if (onParseBegin)
        onParseBegin(text);
    Parse(text, m_kind, {});
    FinishParse();
    MarkVisitedLinks();
    if ((split.anchor.empty() || !ScrollToAnchor(split.anchor)) &&
        (m_currentFile.empty() || m_currentFile != oldFile)) {
        m_horizontal = 0;
        ScrollToY(0);
    }
    m_window.Invalidate();
}

void HtmlViewer::Parse(const std::string& source, DocumentKind kind, const std::string& imageName,
                       bool quiet)
{
    m_source = source;
    DocumentBuilder builder(*m_document, m_services.codePages, sheetSettings);
    if (kind == DocumentKind::Text) {
        builder.BuildText(source);
    } else if (kind == DocumentKind::Image) {
        builder.Build("<img src=\"" + imageName + "\">");
    } else {
        builder.hooks.loadStyleSheet =
            [this](const std::string& href) -> std::optional<LinkedSheet> {
            const std::string path = ExpandReference(href);
            std::optional<std::string> text;
            if (onStreamRequest)
                text = onStreamRequest(href);
            if (!text)
                text = m_services.files.ReadFile(path);
            if (!text)
                return std::nullopt;
            return LinkedSheet{std::move(*text), FolderOf(path)};
        };
        builder.hooks.include = onInclude;
        if (!quiet) {
            builder.hooks.onLink = onLink;
            builder.hooks.onSound = onSoundRequest;
            builder.hooks.script = onScript;
            builder.hooks.progress = [this](std::size_t done, std::size_t total) {
                if (total > 0)
                    Progress(ProgressStage::Running,
                             static_cast<int>(static_cast<std::uint64_t>(m_progressStart) * done /
                                              total));
            };
        }
        builder.hooks.onMeta = [this, quiet](const std::string& httpEquiv, const std::string& name,
                                      const std::string& content) {
            if (quiet)
                return;
            if (onMeta)
                onMeta(httpEquiv, name, content);
            if (onMetaRefresh)
                if (auto refresh = ParseMetaRefresh(httpEquiv, content))
                    m_refresh = std::move(refresh);
        };
        if (onSoundRequest && !quiet)
            onSoundRequest({}, 0, true);
        builder.Build(source);
    }
    AttachControls();
    m_title = m_services.codePages.FromWide(m_services.codePages.AnsiCodePage(), builder.title);
    m_base = builder.base;
    m_baseTarget = builder.baseTarget;
}

void HtmlViewer::FinishParse(bool quiet)
{
    // A BODY colour is the page's background.
    for (const auto& section : m_document->cell.sections)
        if (const auto* body = dynamic_cast<const BodyBlock*>(section.get())) {
            const std::uint32_t color = BackgroundColorOf(body->style);
            if (color != kNoColor && color != kNoneColor)
                m_document->background = ResolveColor(color, m_services.fonts);
        }
    if (onParseEnd && !quiet)
        onParseEnd();
    FormatDocument();
}

bool HtmlViewer::HasWindowControls() const
{
    return !m_document->forms.empty() || !m_document->panels.empty();
}

void HtmlViewer::AttachControls()
{
    m_controls.reset();
    if (!m_host)
        return;
    DocumentControls::Hooks hooks;
    hooks.submit = [this](const Form::Submitted& submitted) {
        // Raised from the posted message, once the control's own handling has unwound.
        if (!onFormSubmit)
            return;
        m_pendingSubmit = submitted;
        m_window.PostFormSubmit();
    };
    hooks.objectEvent = [this](FormControl& control, ObjectEvent event,
                               const std::string& message) {
        if (onObjectEvent)
            onObjectEvent(control, event, message);
    };
    hooks.fileBrowse = [this](EditControl& edit, std::string& fileName) {
        if (onFileBrowse)
            onFileBrowse(edit, fileName);
    };
    hooks.bringIntoView = [this](int y, bool link) { BringIntoView(y, link); };
    hooks.followLink = [this](const UrlTarget& link) {
        SetLink(link.url, link.target);
        m_window.PostLinkActivation();
    };
    hooks.invalidate = [this] { m_window.Invalidate(); };
    m_controls = std::make_unique<DocumentControls>(*m_document, *m_host, std::move(hooks));
}

void HtmlViewer::SetControlHost(IControlHost* host)
{
    if (host == m_host)
        return;
    if (m_host)
        m_host->onEvent = nullptr;
    const bool rebuild = m_kind == DocumentKind::Html && !m_source.empty() && !m_busy;
    FormValues values;
    if (rebuild)
        values = SaveFormValues(*m_document);
    // The document's controls belong to the old host: they go before it does.
    m_controls.reset();
    m_host = host;
    if (m_host)
        m_host->onEvent = [this](int id, ControlEvent event) {
            if (m_controls)
                m_controls->Dispatch(id, event);
        };
    if (!rebuild) {
        m_document->controlHost = m_host;
        return;
    }
    const int vertical = m_vertical, horizontal = m_horizontal;
    const std::string source = m_source;
    NewDocument();
    Parse(source, DocumentKind::Html, {}, true);
    FinishParse(true);
    MarkVisitedLinks();
    RestoreFormValues(*m_document, values);
    m_horizontal = horizontal;
    ScrollToY(vertical);
}

void HtmlViewer::DeliverFormSubmit()
{
    if (!m_pendingSubmit)
        return;
    const Form::Submitted submitted = std::move(*m_pendingSubmit);
    m_pendingSubmit.reset();
    if (onFormSubmit)
        onFormSubmit(submitted);
}

void HtmlViewer::BringIntoView(int y, bool link)
{
    const int client = PanelHeight();
    if (!link) {
        if (y < m_vertical || y > m_vertical + client - 20)
            ScrollToY(y - client / 2);
    } else if (!m_focusingLink) {
        if (y < m_vertical)
            ScrollToY(y);
        else if (y > m_vertical + client - 30)
            ScrollToY(y - client / 2);
    }
    m_window.Invalidate();
}

void HtmlViewer::FormatDocument()
{
    int docWidth = 0;
    m_docHeight = FormatPasses(
        pane, m_source.size(),
        [this](int width, int& widest) {
            const int height = m_document->Layout(width, pane.height - pane.border);
            widest = m_document->maxWidth;
            return height;
        },
        docWidth);
    m_docWidth = docWidth;
    m_bars = ArrangeScrollBars(pane, m_docHeight, m_docWidth);
    m_vertical = ClampScroll(m_vertical, m_docHeight, PanelHeight());
    m_horizontal =
        std::clamp(m_horizontal, 0, std::max(0, m_bars.horizontalMax - m_bars.paintWidth));
    m_document->SetScrollY(m_vertical);
    m_window.ArrangeBars(m_bars, m_vertical, m_horizontal);
}

void HtmlViewer::Relayout()
{
    if (m_busy)
        return;
    SetBusy(true);
    m_progressStart = 0;
    Progress(ProgressStage::Starting, 0);
    const ScrollAnchor anchor = AnchorOf(*m_document, m_vertical);
    FormatDocument();
    int position = 0;
    if (PositionOf(*m_document, anchor, position))
        ScrollToY(position);
    if (m_docHeight < PanelHeight())
        ScrollToY(0);
    Progress(ProgressStage::Ending, 100);
    SetBusy(false);
    m_window.Invalidate();
}

void HtmlViewer::SetImageCacheLimit(int limit)
{
    m_images->Cache().SetLimit(limit);
}

void HtmlViewer::Progress(ProgressStage stage, int percent)
{
    if (onProgress)
        onProgress(stage, percent);
}

void HtmlViewer::Clear()
{
    if (m_busy)
        return;
    m_window.SetHoverTimer(false);
    Prepare();
    m_images->Cache().Clear();
    m_base.clear();
    m_baseTarget.clear();
    m_title.clear();
    m_source.clear();
    m_vertical = m_horizontal = 0;
    FormatDocument();
    if (onSoundRequest)
        onSoundRequest({}, 0, true);
    m_window.Invalidate();
}

void HtmlViewer::ScrollToY(int y)
{
    m_vertical = ClampScroll(y, m_docHeight, PanelHeight());
    m_document->SetScrollY(m_vertical);
    m_window.SetScrollPositions(m_vertical, m_horizontal);
    m_window.Invalidate();
}

void HtmlViewer::SetVerticalPosition(int y)
{
    if (ClampScroll(y, m_docHeight, PanelHeight()) != m_vertical)
        ScrollToY(y);
}

void HtmlViewer::SetHorizontalPosition(int x)
{
    m_horizontal = std::clamp(x, 0, std::max(0, m_bars.horizontalMax - m_bars.paintWidth));
    m_window.SetScrollPositions(m_vertical, m_horizontal);
    m_window.Invalidate();
}

void HtmlViewer::ScrollVertically(int target, bool allowShift)
{
    const int old = m_vertical;
    m_vertical = ClampScroll(target, m_docHeight, PanelHeight());
    m_document->SetScrollY(m_vertical);
    m_window.SetScrollPositions(m_vertical, m_horizontal);
    // Window controls in the document are placed by a whole paint, never shifted with it.
    if (allowShift && old - m_vertical != 0 && std::abs(old - m_vertical) == kVerticalSmallChange &&
        !HasWindowControls())
        m_window.ScrollContents(old - m_vertical);
    else if (old != m_vertical)
        m_window.Invalidate();
}

bool HtmlViewer::ScrollToAnchor(const std::string& name)
{
    std::string key = name;
    if (!key.empty() && key[0] == '#')
        key.erase(0, 1);
    if (key.empty())
        return false;
    const IAnchorTarget* target = m_document->anchors.Find(UpperAscii(key));
    if (!target)
        return false;
    m_horizontal = 0;
    ScrollToY(target->AnchorY());
    RememberVisited(m_currentFile + "#" + key);
    return true;
}

void HtmlViewer::SetLink(const std::string& url, const std::string& target)
{
    m_linkUrl = url;
    m_linkTarget = target;
}

void HtmlViewer::ActivateLink()
{
    const std::string url = m_linkUrl;
    if (onHotSpotClick && onHotSpotClick(url))
        return;
    const PageHistory::Entry left = Here();
    if (!url.empty() && url[0] == '#') {
        if (ScrollToAnchor(url)) {
            PushHistory(left);
            RememberVisited(m_currentFile + url);
        }
        return;
    }
    const auto hash = url.find('#');
    const std::string anchorPart = hash == std::string::npos ? std::string() : url.substr(hash);
    const std::string name = ExpandReference(url.substr(0, hash));
    switch (KindOfLinkPath(name)) {
        case LinkKind::Page:
            if (name != m_currentFile) {
                LoadFromFile(name + anchorPart);
                RememberVisited(name + anchorPart);
            } else if (ScrollToAnchor(anchorPart)) {
                PushHistory(left);
                RememberVisited(name + anchorPart);
            }
            break;
        case LinkKind::Image:
            LoadImageFile(name);
            break;
        case LinkKind::Other:
            break;
    }
}

std::string HtmlViewer::FullUrlOf(const std::string& linkUrl) const
{
    if (!linkUrl.empty() && linkUrl[0] == '#')
        return m_currentFile + linkUrl;
    return ExpandReference(linkUrl);
}

void HtmlViewer::RememberVisited(const std::string& url)
{
    if (m_visited.MaxCount() <= 0)
        return;
    if (m_visited.Remember(url)) {
        for (FontRun* run : m_document->links)
            if (run->IsLink() && EqualsNoCase(FullUrlOf(run->link.url), url))
                run->SetVisited(true);
        m_window.Invalidate();
    }
}

void HtmlViewer::MarkVisitedLinks()
{
    if (m_visited.MaxCount() <= 0)
        return;
    for (FontRun* run : m_document->links)
        if (run->IsLink() && m_visited.Contains(FullUrlOf(run->link.url)))
            run->SetVisited(true);
}

PaintPlan HtmlViewer::Paint(const Rect& clip)
{
    // The document is painted in its own X coordinates; the window shifts the origin.
    const Rect documentClip{clip.left + m_horizontal, clip.top, clip.right + m_horizontal,
                            clip.bottom};
    PaintPlan plan = m_document->Paint(documentClip);
    std::vector<PaintCommand> background{FillCommand{documentClip, m_document->background}};
    // The BODY's picture: over the whole document, or over the window when it is fixed.
    const BodyBlock* body = nullptr;
    for (const auto& section : m_document->cell.sections)
        if (!body)
            body = dynamic_cast<const BodyBlock*>(section.get());
    if (body && m_document->imagesShown && !body->backgroundSource.empty())
        if (const PixelImage* image = m_images->Find(body->backgroundSource)) {
            const BackgroundPlacement& placement = body->backgroundPlacement;
            const Rect box =
                placement.fixed
                    ? Rect{m_horizontal, 0, m_horizontal + m_bars.paintWidth, m_bars.paintHeight}
                    : Rect{0, -m_vertical, std::max(m_bars.horizontalMax, m_bars.paintWidth),
                           std::max(m_docHeight, m_bars.paintHeight) - m_vertical};
            for (const Rect& tile :
                 BackgroundTiles(box, image->width, image->height, placement, documentClip))
                background.push_back(ImageCommand{tile, body->backgroundSource, false, Rect{}});
        }
    plan.commands.insert(plan.commands.begin(), background.begin(), background.end());
    return plan;
}

const PixelImage* HtmlViewer::ImageFor(const std::string& source)
{
    return m_images->Find(source);
}

int HtmlViewer::CharIndexAt(int x, int y, bool* inText)
{
    CaretHit caret;
    const int index = m_document->CaretAtPoint(x + m_horizontal, y + m_vertical, caret);
    if (inText)
        *inText = caret.inText;
    return index;
}

void HtmlViewer::MouseDown(MouseButton button, bool shift, int x, int y)
{
    m_window.TakeFocus();
    m_linkJustClicked = false;
    if (m_panning) {
        m_panning = false;
        m_dragScrolling = false;
        m_window.SetDragScrollTimer(false);
        m_window.SetCursor(ViewerCursor::Default);
        return;
    }
    if (button == MouseButton::Middle && !noWheelMouse) {
        m_panning = true;
        m_panStartY = y;
        m_window.SetCursor(ViewerCursor::Pan);
        return;
    }
    if (button != MouseButton::Left)
        return;
    m_leftDown = true;
    m_selecting = true;
    m_selectionAnchor = CharIndexAt(x, y);
    if (m_selectionAnchor < 0)
        return;
    const bool hadSelection = m_document->selFrom < m_document->selTo;
    if (shift) {
        m_document->selFrom = std::min(m_caret, m_selectionAnchor);
        m_document->selTo = std::max(m_caret, m_selectionAnchor);
    } else {
        m_document->selFrom = m_document->selTo = m_selectionAnchor;
        m_caret = m_selectionAnchor;
    }
    if (hadSelection || shift)
        m_window.Invalidate();
}

void HtmlViewer::MouseMove(bool leftHeld, int x, int y)
{
    if (m_panning) {
        if (!m_dragScrolling && std::abs(y - m_panStartY) > kPanThreshold) {
            m_dragScrolling = true;
            m_window.SetDragScrollTimer(true);
        }
        return;
    }
    ViewerCursor cursor = ViewerCursor::Arrow;
    LinkHit hit;
    const int flags = m_document->HitLink(x + m_horizontal, y + m_vertical, hit);
    std::string url, target;
    if (flags & kHitLink) {
        cursor = ViewerCursor::Hand;
        url = hit.target.url;
        target = hit.target.target;
    } else if (flags & kHitControl) {
        cursor = ViewerCursor::Hand;
    }
    bool inText = false;
    if ((onImageOver || onImageClick) && hit.image) {
        if (onImageOver)
            onImageOver(*hit.image, hit.imageX, hit.imageY);
    } else if (cursor != ViewerCursor::Hand && CharIndexAt(x, y, &inText) >= 0 && inText) {
        cursor = ViewerCursor::Default;
    }
    m_window.SetCursor(cursor);
    m_window.SetHoverTimer(cursor == ViewerCursor::Hand);
    if (url != m_linkUrl || target != m_linkTarget) {
        m_linkUrl = url;
        m_linkTarget = target;
        if (onHotSpotCovered)
            onHotSpotCovered(url);
    }
    if (leftHeld && m_leftDown) {
        if (!m_dragScrolling && (y <= 0 || y >= PanelHeight())) {
            m_dragScrolling = true;
            m_window.SetDragScrollTimer(true);
        }
        if (!noSelect)
            ExtendSelection(x, y);
    }
}

void HtmlViewer::ExtendSelection(int x, int y)
{
    if (!m_selecting || m_selectionAnchor < 0)
        return;
    const int index = CharIndexAt(x, std::clamp(y, 0, PanelHeight()));
    if (index < 0)
        return;
    if (!noSelect) {
        m_document->selFrom = std::min(m_selectionAnchor, index);
        m_document->selTo = std::max(m_selectionAnchor, index);
        m_window.Invalidate();
    }
    m_caret = index;
}

void HtmlViewer::MouseUp(MouseButton button, bool shift, int x, int y)
{
    if (m_panning) {
        if (!(button == MouseButton::Middle && y == m_panStartY)) {
            m_panning = false;
            m_dragScrolling = false;
            m_window.SetDragScrollTimer(false);
            m_window.SetCursor(ViewerCursor::Default);
        }
        return;
    }
    if (onImageClick || onRightClick)
        PointerEventsAt(button, shift, x, y);
    if (button != MouseButton::Left || shift)
        return;
    m_dragScrolling = false;
    m_window.SetDragScrollTimer(false);
    ExtendSelection(x, y);
    m_selecting = false;
    if (!m_leftDown)
        return;
    m_leftDown = false;
    if (m_document->selFrom < m_document->selTo)
        return;  // a drag selected text: no link is followed
    LinkHit hit;
    const int flags = m_document->HitLink(x + m_horizontal, y + m_vertical, hit);
    if ((flags & kHitControl) && hit.imageButton) {
        hit.imageButton->ClickAt(hit.imageX, hit.imageY);
    } else if (flags & kHitLink) {
        m_linkUrl = hit.target.url;
        m_linkTarget = hit.target.target;
        // The link's tab stop takes the focus, where it is: no scrolling.
        if (m_controls) {
            m_focusingLink = true;
            m_controls->FocusLink(hit.target.linkNumber);
            m_focusingLink = false;
        }
        m_linkJustClicked = true;
        ActivateLink();
    }
}

void HtmlViewer::PointerEventsAt(MouseButton button, bool shift, int x, int y)
{
    LinkHit hit;
    const int flags = m_document->HitLink(x + m_horizontal, y + m_vertical, hit);
    if (onImageClick && hit.image)
        onImageClick(*hit.image, button, shift, hit.imageX, hit.imageY);
    if (button != MouseButton::Right || !onRightClick)
        return;
    RightClickInfo info;
    if (hit.image) {
        info.image = hit.image;
        info.imageX = hit.imageX;
        info.imageY = hit.imageY;
    }
    if (flags & kHitLink) {
        info.url = hit.target.url;
        info.target = hit.target.target;
    }
    int start = 0, end = 0;
    if (WordAt(x, y, start, end))
        for (int i = start; i < end; ++i) {
            char16_t c = 0;
            if (m_document->CharAt(i, c))
                info.word.push_back(c);
        }
    // No hover check while the owner shows its menu.
    m_window.SetHoverTimer(false);
    struct HoverAgain
    {
        IViewerWindow& window;
        ~HoverAgain() { window.SetHoverTimer(true); }
    } hoverAgain{m_window};
    onRightClick(info);
}

bool HtmlViewer::WordAt(int x, int y, int& start, int& end)
{
    bool inText = false;
    const int index = CharIndexAt(x, y, &inText);
    if (index < 0)
        return false;
    m_caret = index;
    char16_t c = 0;
    if (!inText || !m_document->CharAt(index, c) || !IsWordChar(c))
        return false;
    // A neighbour in another section (the next paragraph or cell) ends the word like a space.
    const SectionBase* section = m_document->SectionHolding(index);
    const auto inWord = [&](int pos) {
        return m_document->CharAt(pos, c) && IsWordChar(c) &&
               m_document->SectionHolding(pos) == section;
    };
    start = index;
    end = index + 1;
    while (inWord(end))
        ++end;
    while (start > 0 && inWord(start - 1))
        --start;
    return true;
}

void HtmlViewer::DoubleClick(int x, int y)
{
    if (m_busy || m_linkJustClicked)
        return;
    int start = 0, end = 0;
    if (!noSelect && WordAt(x, y, start, end)) {
        m_document->selFrom = start;
        m_document->selTo = end;
        m_caret = start;
        m_window.Invalidate();
    }
    if (onMouseDouble)
        onMouseDouble(x, y);
}

void HtmlViewer::Wheel(int delta)
{
    if (noWheelMouse)
        return;
    SetVerticalPosition(WheelScrollTarget(m_vertical, delta, m_window.WheelLines()));
}

bool HtmlViewer::KeyDown(std::uint16_t key, bool shift, bool ctrl)
{
    if (ctrl && key == kKeyC) {
        if (m_document->selFrom < m_document->selTo)
            m_window.CopyText(SelectedText());
        return true;
    }
    if (ctrl && key == kKeyA) {
        SelectAll();
        return true;
    }
    if (shift || ctrl)
        return false;
    if (m_panning) {
        m_panning = false;
        m_dragScrolling = false;
        m_window.SetDragScrollTimer(false);
        m_window.SetCursor(ViewerCursor::Default);
        return true;
    }
    const int large = m_bars.verticalLargeChange;
    switch (key) {
        case kKeyPrior:
            ScrollVertically(KeyScrollTarget(ScrollKey::PageUp, m_vertical, large, m_docHeight),
                             false);
            return true;
        case kKeyNext:
            ScrollVertically(KeyScrollTarget(ScrollKey::PageDown, m_vertical, large, m_docHeight),
                             false);
            return true;
        case kKeyHome:
            ScrollVertically(KeyScrollTarget(ScrollKey::Home, m_vertical, large, m_docHeight),
                             false);
            return true;
        case kKeyEnd:
            ScrollVertically(KeyScrollTarget(ScrollKey::End, m_vertical, large, m_docHeight),
                             false);
            return true;
        case kKeyUp:
            ScrollVertically(KeyScrollTarget(ScrollKey::Up, m_vertical, large, m_docHeight), true);
            return true;
        case kKeyDown:
            ScrollVertically(KeyScrollTarget(ScrollKey::Down, m_vertical, large, m_docHeight),
                             true);
            return true;
        case kKeyLeft:
            SetHorizontalPosition(m_horizontal - kHorizontalSmallChange);
            return true;
        case kKeyRight:
            SetHorizontalPosition(m_horizontal + kHorizontalSmallChange);
            return true;
        default:
            return false;
    }
}

void HtmlViewer::HoverTimerTick(bool mouseInside)
{
    if (mouseInside)
        return;
    m_document->hoverLink = nullptr;
    m_window.SetHoverTimer(false);
    if (!m_linkUrl.empty()) {
        m_linkUrl.clear();
        m_linkTarget.clear();
        if (onHotSpotCovered)
            onHotSpotCovered({});
    }
}

void HtmlViewer::DragScrollStep(int mouseY)
{
    int target = m_vertical;
    if (m_selecting && m_leftDown) {
        if (mouseY > 0 && mouseY <= PanelHeight()) {
            m_dragScrolling = false;
            m_window.SetDragScrollTimer(false);
            return;
        }
        target += mouseY < -15                  ? -8 * kVerticalSmallChange
                  : mouseY <= 0                 ? -kVerticalSmallChange
                  : mouseY > PanelHeight() + 15 ? 8 * kVerticalSmallChange
                                                : kVerticalSmallChange;
    } else if (m_panning) {
        const int d = mouseY - m_panStartY;
        if (std::abs(d) <= kPanThreshold) {
            m_dragScrolling = false;
            m_window.SetDragScrollTimer(false);
            m_window.SetCursor(ViewerCursor::Pan);
            return;
        }
        target += d < -60 ? -32 : d < -20 ? -8 : d > 60 ? 32 : 8;
        m_window.SetCursor(d < 0 ? ViewerCursor::PanUp : ViewerCursor::PanDown);
    } else {
        m_dragScrolling = false;
        m_window.SetDragScrollTimer(false);
        return;
    }
    ScrollVertically(target, false);
    m_window.Invalidate();
}

std::u16string HtmlViewer::SelectedText() const
{
    std::u16string text;
    for (int pos = m_document->selFrom; pos < m_document->selTo; ++pos) {
        char16_t c = 0;
        if (!m_document->CharAt(pos, c))
            continue;
        if (c == kBreakMark)
            text += u"\r\n";
        else if (c != kImageMark)
            text.push_back(c);
    }
    return text;
}

void HtmlViewer::SelectAll()
{
    if (noSelect)
        return;
    char16_t c = 0;
    int end = 0;
    while (m_document->CharAt(end, c))
        ++end;
    m_document->selFrom = 0;
    m_document->selTo = end;
    m_window.Invalidate();
}

}  // namespace htmlview
