// The keyboard's side of a shown document and its window controls: an unseen tab stop for each
// link, the order Tab moves in (TABINDEX first), the controls' and link stops' events turned into
// the viewer's (focus scrolls into view, Enter on a link follows it), and the values typed into
// the forms, kept and put back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "setup/htmlview/forms/form.h"
#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/util/url_target.h"

namespace htmlview {

// Per form, per control: what the user made of it.
using FormValues = std::vector<std::vector<std::string>>;

FormValues SaveFormValues(const Document& document);
// Puts values back into a document built from the same source; forms or controls that do not
// match in number are left as they are.
void RestoreFormValues(Document& document, const FormValues& values);

// The positions in `stops` in the order Tab visits them: those with a TABINDEX first, by
// TABINDEX and then in source order, the others after them in source order.
std::vector<std::size_t> TabOrder(const std::vector<Document::TabStop>& stops);

class DocumentControls
{
public:
    struct Hooks
    {
        std::function<void(const Form::Submitted&)> submit;
        std::function<void(FormControl&, ObjectEvent, const std::string& message)> objectEvent;
        std::function<void(EditControl&, std::string& fileName)> fileBrowse;
        // A control or a link took the focus; its top in the document.
        std::function<void(int y, bool link)> bringIntoView;
        // Enter on a link's tab stop.
        std::function<void(const UrlTarget&)> followLink;
        std::function<void()> invalidate;
    };

    // Makes the link stops and sets the tab order; the document's controls use `host`.
    DocumentControls(Document& document, IControlHost& host, Hooks hooks);
    ~DocumentControls();
    DocumentControls(const DocumentControls&) = delete;
    DocumentControls& operator=(const DocumentControls&) = delete;

    // What the user did to one of the document's controls or link stops.
    void Dispatch(int id, ControlEvent event);
    // The focus to a link's stop (a click on the link); false when it has none.
    bool FocusLink(int linkNumber);
    // The host's id of a link's stop, -1 when none.
    int LinkStopOf(int linkNumber) const;
    // The host's ids in the order Tab visits them.
    const std::vector<int>& TabOrderIds() const { return m_order; }

private:
    struct LinkStop
    {
        int id = -1;
        int linkNumber = -1;
    };
    void SetLinkFocused(int linkNumber, bool focused);
    FormControl* ControlOf(int id) const;

    Document& m_document;
    IControlHost& m_host;
    Hooks m_hooks;
    std::vector<LinkStop> m_linkStops;
    std::vector<int> m_order;
};

}  // namespace htmlview
