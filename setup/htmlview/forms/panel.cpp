#include "setup/htmlview/forms/panel.h"

#include <algorithm>

#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

// A panel stays below this size, whatever the markup asks.
constexpr int kMaxPanelSize = 10000;

}  // namespace

Panel::Panel(IControlHost& host, const AttributeList& attributes) : host(host)
{
    name = attributes.Text(Sym::Name);
    source = attributes.Text(Sym::Src);
    type = attributes.Text(Sym::Type);
    alt = attributes.Text(Sym::Alt);
    if (const Attribute* w = attributes.Find(Sym::Width)) {
        percentWidth = w->IsPercent();
        specWidth = std::clamp(w->number, percentWidth ? 1 : 0, percentWidth ? 100 : kMaxPanelSize);
        if (!percentWidth && specWidth > 0)
            naturalWidth = specWidth;
    }
    if (const Attribute* h = attributes.Find(Sym::Height)) {
        if (h->IsPercent() && h->number >= 1 && h->number <= 100) {
            percentHeight = true;
            specHeight = h->number;
        } else if (!h->IsPercent()) {
            specHeight = std::clamp(h->number, 1, kMaxPanelSize);
            naturalHeight = specHeight;
        }
    }
    control = host.Create(ControlKind::Panel, u"", true);
    host.Move(control, -4000, -4000, naturalWidth, naturalHeight);
}

Panel::~Panel()
{
    if (control >= 0)
        host.Destroy(control);
}

void Panel::TakeNaturalSize()
{
    const ControlSize size = host.Size(control);
    naturalWidth = std::clamp(size.width, 0, kMaxPanelSize);
    naturalHeight = std::clamp(size.height, 0, kMaxPanelSize);
}

InlineSize Panel::SizeInLine(int availWidth, int availHeight)
{
    width = percentWidth    ? MulDivWin(std::max(0, availWidth), specWidth, 100)
            : specWidth > 0 ? specWidth
                            : naturalWidth;
    height = percentHeight    ? MulDivWin(std::max(0, availHeight), specHeight, 100)
             : specHeight > 0 ? specHeight
                              : naturalHeight;
    width = std::max(0, width);
    height = std::max(0, height);
    return {width, height};
}

void Panel::PlaceAt(int x, int y)
{
    host.Move(control, x, y, width, height);
}

void Panel::Park()
{
    host.Move(control, -4000, -4000, width, height);
}

}  // namespace htmlview
