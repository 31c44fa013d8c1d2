#include "setup/htmlview/viewer/document_controls.h"

#include <algorithm>

#include "setup/htmlview/layout/font_run.h"

namespace htmlview {

FormValues SaveFormValues(const Document& document)
{
    FormValues values;
    for (const auto& form : document.forms) {
        std::vector<std::string>& kept = values.emplace_back();
        for (const auto& control : form->controls)
            kept.push_back(control->Value());
    }
    return values;
}

void RestoreFormValues(Document& document, const FormValues& values)
{
    if (values.size() != document.forms.size())
        return;
    for (std::size_t f = 0; f < values.size(); ++f) {
        Form& form = *document.forms[f];
        if (values[f].size() != form.controls.size())
            continue;
        for (std::size_t c = 0; c < values[f].size(); ++c)
            if (form.controls[c]->control >= 0)
                form.controls[c]->SetValue(values[f][c]);
    }
}

std::vector<std::size_t> TabOrder(const std::vector<Document::TabStop>& stops)
{
    std::vector<std::size_t> order(stops.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // TABINDEX 0 sorts after every real one; equal values keep source order.
    auto key = [&](std::size_t i) {
        return stops[i].tabIndex >= 1 ? stops[i].tabIndex : 0x7FFFFFFF;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    return order;
}

DocumentControls::DocumentControls(Document& document, IControlHost& host, Hooks hooks)
    : m_document(document), m_host(host), m_hooks(std::move(hooks))
{
    for (const auto& form : document.forms) {
        form->onSubmit = [this](const Form::Submitted& submitted) {
            if (m_hooks.submit)
                m_hooks.submit(submitted);
        };
        form->onObjectEvent = [this](FormControl& control, ObjectEvent event,
                                     const std::string& message) {
            if (m_hooks.objectEvent)
                m_hooks.objectEvent(control, event, message);
        };
        form->onFileBrowse = [this](EditControl& edit, std::string& fileName) {
            if (m_hooks.fileBrowse)
                m_hooks.fileBrowse(edit, fileName);
        };
    }
    const std::vector<Document::TabStop>& stops = document.tabStops;
    std::vector<int> ids(stops.size(), -1);
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (stops[i].control) {
            ids[i] = stops[i].control->control;
        } else if (LinkStopOf(stops[i].linkNumber) < 0) {
            const int id = host.Create(ControlKind::LinkStop, u"", true);
            if (id < 0)
                continue;
            host.Move(id, -4000, 0, 1, 1);
            m_linkStops.push_back({id, stops[i].linkNumber});
            ids[i] = id;
        }
    }
    for (std::size_t i : TabOrder(stops))
        if (ids[i] >= 0)
            m_order.push_back(ids[i]);
    host.SetTabOrder(m_order);
}

DocumentControls::~DocumentControls()
{
    for (const LinkStop& stop : m_linkStops)
        m_host.Destroy(stop.id);
}

int DocumentControls::LinkStopOf(int linkNumber) const
{
    for (const LinkStop& stop : m_linkStops)
        if (stop.linkNumber == linkNumber)
            return stop.id;
    return -1;
}

bool DocumentControls::FocusLink(int linkNumber)
{
    const int id = LinkStopOf(linkNumber);
    if (id < 0)
        return false;
    m_host.SetFocus(id);
    return true;
}

FormControl* DocumentControls::ControlOf(int id) const
{
    for (const auto& form : m_document.forms)
        for (const auto& control : form->controls)
            if (control->control == id)
                return control.get();
    return nullptr;
}

void DocumentControls::SetLinkFocused(int linkNumber, bool focused)
{
    for (FontRun* run : m_document.links)
        if (run->link.linkNumber == linkNumber)
            run->linkFocused = focused;
}

void DocumentControls::Dispatch(int id, ControlEvent event)
{
    if (id < 0)
        return;
    const auto stop = std::find_if(m_linkStops.begin(), m_linkStops.end(),
                                   [id](const LinkStop& s) { return s.id == id; });
    if (stop != m_linkStops.end()) {
        const int linkNumber = stop->linkNumber;
        const FontRun* first = nullptr;
        for (const FontRun* run : m_document.links)
            if (!first && run->link.linkNumber == linkNumber)
                first = run;
        if (!first)
            return;
        switch (event) {
            case ControlEvent::Enter:
                SetLinkFocused(linkNumber, true);
                if (m_hooks.bringIntoView)
                    m_hooks.bringIntoView(first->linkY, true);
                break;
            case ControlEvent::Leave:
                SetLinkFocused(linkNumber, false);
                if (m_hooks.invalidate)
                    m_hooks.invalidate();
                break;
            case ControlEvent::Return:
                if (m_hooks.followLink)
                    m_hooks.followLink(first->link);
                break;
            default:
                break;
        }
        return;
    }
    FormControl* control = ControlOf(id);
    if (!control)
        return;
    if (event == ControlEvent::Enter || event == ControlEvent::Leave) {
        if (m_hooks.invalidate)
            m_hooks.invalidate();
        if (event == ControlEvent::Enter && m_hooks.bringIntoView)
            m_hooks.bringIntoView(control->layoutY, false);
    }
    // This may submit the form: submissions are posted, so the document outlives the call.
    control->Handle(event);
}

}  // namespace htmlview
