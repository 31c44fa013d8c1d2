// A PANEL: a window the viewer's host fills (it learns the panel's name, type and source when the
// panel is made), standing in the text like a picture: its size from WIDTH and HEIGHT, in pixels
// or percent of the room, else its own.
#pragma once

#include <string>

#include "setup/htmlview/forms/control_host.h"
#include "setup/htmlview/layout/inline_control.h"
#include "setup/htmlview/parser/attributes.h"

namespace htmlview {

class Panel : public IInlineControl
{
public:
    Panel(IControlHost& host, const AttributeList& attributes);
    ~Panel() override;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The size the host left it with is its own (natural) size.
    void TakeNaturalSize();
    InlineSize SizeInLine(int availWidth, int availHeight) override;
    void PlaceAt(int x, int y) override;
    void Park() override;

    IControlHost& host;
    std::string name, type, source, alt;
    int specWidth = 0, specHeight = 0;
    bool percentWidth = false, percentHeight = false;
    int naturalWidth = 30, naturalHeight = 20;
    int control = -1;
    int width = 0, height = 0;
};

}  // namespace htmlview
