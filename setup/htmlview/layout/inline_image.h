// An image in the text: its size from attributes, style and the picture's own size, where it sits
// in its line or beside it as a float, and its placeholder while the picture is missing.
#pragma once

#include <string>

#include "setup/htmlview/layout/inline_control.h"
#include "setup/htmlview/parser/attributes.h"
#include "setup/htmlview/style/keywords.h"

namespace htmlview {

class Document;

class InlineImage
{
public:
    // HSPACE and VSPACE beyond this are taken as this.
    static constexpr int kMaxSpace = 40;
    // A placeholder is at least this high, and this much wider than its text.
    static constexpr int kPlaceholderMin = 24;

    InlineImage(int pos, const AttributeList& attributes);
    // The image's own style: alignment, float, margins and size.
    void ApplyStyle(const Properties& properties);

    // Fixes ImageWidth and ImageHeight for the room available; `inLink` adds the link frame.
    void ResolveSize(Document& document, int availWidth, int availHeight, bool inLink);
    bool IsFloat() const { return align == Align::Left || align == Align::Right; }
    int TotalWidth() const { return imageWidth + hspaceLeft + hspaceRight; }
    int TotalHeight() const { return imageHeight + vspaceTop + vspaceBottom; }

    int pos = 0;
    std::string source, alt, title;
    Align align = Align::Bottom;
    int hspaceLeft = 0, hspaceRight = 0, vspaceTop = 0, vspaceBottom = 0;
    int specWidth = 0, specHeight = 0;
    bool percentWidth = false, percentHeight = false;
    bool noBorder = false;
    bool sizeFixed = false;
    bool placeholder = false;  // the picture is missing or images are off
    bool hasLinkFrame = false;
    bool isMap = false;   // a server-side map: clicks carry the point in the link
    bool useMap = false;  // a client-side map of the document decides the link
    std::string mapName;  // upper case, without "#"
    int objWidth = 0, objHeight = 0;      // the picture
    int imageWidth = 0, imageHeight = 0;  // the room in the text, link frame included
    int floatIndent = 0;
    int paintX = 0, paintY = 0;
    IInlineControl* control = nullptr;   // a form control takes the room instead of a picture
    IImageClick* clickTarget = nullptr;  // an image button hears clicks on the picture
};

}  // namespace htmlview
