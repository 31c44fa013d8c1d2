#include "setup/htmlview/layout/inline_image.h"

#include <algorithm>
#include <cstdlib>

#include "setup/htmlview/layout/document.h"
#include "setup/htmlview/layout/layout_limits.h"
#include "setup/htmlview/style/box_values.h"
#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

// The picture shown for a missing image, and while images are off.
constexpr int kPlaceholderPicture = 16;
// ALT texts are measured in this font.
const FontRequest kAltFont{"Arial", -11};

// WIDTH or HEIGHT: a percentage from 1 to 100, or pixels from `minimum` on.
void ReadSize(const Attribute& attribute, int minimum, int& size, bool& percent)
{
    if (attribute.value.find('%') == std::string::npos) {
        size = std::clamp(attribute.number, minimum, kMaxLayoutLength);
    } else if (attribute.number >= 1 && attribute.number <= 100) {
        size = attribute.number;
        percent = true;
    }
}

// The other side of a size from the picture's proportions; a picture without size gives none.
int ByAspect(int given, int natural, int naturalOther)
{
    if (natural <= 0)
        return 0;
    return MulDivWin(given, naturalOther, natural);
}

// A styled width or height, resolved against 200: auto gives none, a percentage is kept as one.
void StyledSize(const Properties& properties, Prop prop, int resolved, int& size, bool& percent)
{
    percent = false;
    const std::string* text = properties.Text(prop);
    if (resolved == kAutoValue) {
        size = 0;
    } else if (text && text->find('%') != std::string::npos) {
        percent = true;
        size = std::clamp(MulDivWin(resolved, 100, 200), 0, kMaxLayoutLength);
    } else {
        size = std::clamp(resolved, 0, kMaxLayoutLength);
    }
}

}  // namespace

InlineImage::InlineImage(int position, const AttributeList& attributes) : pos(position)
{
    bool hspaceGiven = false;
    for (const Attribute& a : attributes.Items()) {
        switch (a.symbol) {
            case Sym::Src:
                source = std::string(Trim(a.value));
                break;
            case Sym::Alt:
                alt = a.value;
                title = a.value;
                break;
            case Sym::Align: {
                const std::string upper = UpperAscii(Trim(a.value));
                if (upper == "TOP")
                    align = Align::Top;
                else if (upper == "MIDDLE" || upper == "ABSMIDDLE")
                    align = Align::Middle;
                else if (upper == "LEFT")
                    align = Align::Left;
                else if (upper == "RIGHT")
                    align = Align::Right;
                break;
            }
            case Sym::Border:
                noBorder = a.number == 0;
                break;
            case Sym::Width:
                ReadSize(a, 0, specWidth, percentWidth);
                break;
            case Sym::Height:
                ReadSize(a, 1, specHeight, percentHeight);
                break;
            case Sym::Hspace:
                hspaceLeft = std::min(kMaxSpace, std::abs(std::max(a.number, -kMaxSpace)));
                hspaceGiven = true;
                break;
            case Sym::Vspace:
                vspaceTop = std::min(kMaxSpace, std::abs(std::max(a.number, -kMaxSpace)));
                break;
            case Sym::Ismap:
                isMap = true;
                break;
            case Sym::Usemap: {
                std::string name = UpperAscii(Trim(a.value));
                if (!name.empty() && name[0] == '#')
                    name.erase(0, 1);
                useMap = true;
                mapName = std::move(name);
                break;
            }
            default:
                break;
        }
    }
    if (const std::string title_ = attributes.Title(); !title_.empty())
        title = title_;
    if (!hspaceGiven && IsFloat())
        hspaceLeft = 3;
    hspaceRight = hspaceLeft;
    vspaceBottom = vspaceTop;
}

void InlineImage::ApplyStyle(const Properties& properties)
{
    if (const auto vertical = VerticalAlignOf(properties))
        align = *vertical;
    if (const auto side = FloatOf(properties); side && *side != Align::None) {
        align = *side;
        if (hspaceRight == 0)
            hspaceLeft = hspaceRight = 3;
    }
    BoxBases bases;
    bases.width = bases.height = 200;
    const BoxPixels box = BoxPixelsOf(properties, bases);
    auto given = [&](Prop prop) { return properties.IsExplicit(prop); };
    auto space = [](int value) { return std::clamp(value, -kMaxLayoutLength, kMaxLayoutLength); };
    if (given(MarginLeft) && box.margin[SideLeft] != kAutoValue)
        hspaceLeft = space(box.margin[SideLeft]);
    if (given(MarginRight) && box.margin[SideRight] != kAutoValue)
        hspaceRight = space(box.margin[SideRight]);
    if (given(MarginTop))
        vspaceTop = space(box.margin[SideTop]);
    if (given(MarginBottom))
        vspaceBottom = space(box.margin[SideBottom]);
    if (given(Width))
        StyledSize(properties, Width, box.width, specWidth, percentWidth);
    if (given(Height))
        StyledSize(properties, Height, box.height, specHeight, percentHeight);
    if (BorderStyleOf(properties) != 0)
        noBorder = true;
}

void InlineImage::ResolveSize(Document& document, int availWidth, int availHeight, bool inLink)
{
    if (control) {
        const InlineSize size = control->SizeInLine(availWidth, availHeight);
        objWidth = imageWidth = std::clamp(size.width, 0, kMaxLayoutLength);
        objHeight = imageHeight = std::clamp(size.height, 0, kMaxLayoutLength);
        placeholder = hasLinkFrame = false;
        return;
    }
    std::optional<ImageSize> natural;
    if (document.imagesShown && !source.empty() && document.imageSize)
        natural = document.imageSize(source);
    placeholder = !natural;
    const int naturalWidth = natural ? natural->width : kPlaceholderPicture;
    const int naturalHeight = natural ? natural->height : kPlaceholderPicture;

    if (!sizeFixed || percentWidth || percentHeight) {
        if (placeholder) {
            if (specWidth > 0 && specHeight > 0 && !percentWidth && !percentHeight) {
                objWidth = specWidth;
                objHeight = specHeight;
                sizeFixed = true;
            } else {
                objWidth = naturalWidth;
                objHeight = naturalHeight;
            }
        } else if (percentWidth) {
            objWidth = MulDivWin(availWidth, specWidth, 100);
            if (specHeight == 0)
                objHeight = ByAspect(objWidth, naturalWidth, naturalHeight);
            else if (percentHeight)
                objHeight = MulDivWin(availHeight, specHeight, 100);
            else
                objHeight = specHeight;
        } else if (percentHeight) {
            objHeight = MulDivWin(availHeight, specHeight, 100);
            objWidth = specWidth > 0 ? specWidth : ByAspect(objHeight, naturalHeight, naturalWidth);
        } else {
            if (specWidth > 0 && specHeight > 0) {
                objWidth = specWidth;
                objHeight = specHeight;
            } else if (specWidth > 0) {
                objWidth = specWidth;
                objHeight = ByAspect(specWidth, naturalWidth, naturalHeight);
            } else if (specHeight > 0) {
                objHeight = specHeight;
                objWidth = ByAspect(specHeight, naturalHeight, naturalWidth);
            } else {
                objWidth = naturalWidth;
                objHeight = naturalHeight;
            }
            sizeFixed = true;
        }
        objWidth = std::clamp(objWidth, 0, kMaxLayoutLength);
        objHeight = std::clamp(objHeight, 0, kMaxLayoutLength);
    }
    if (placeholder && !sizeFixed && !alt.empty()) {
        std::u16string wide(alt.begin(), alt.end());
        const int w = document.measurer.TextWidth(kAltFont, wide) + 2;
        const int h = document.measurer.Metrics(kAltFont).height;
        objWidth = std::max(objWidth, w + kPlaceholderMin);
        objHeight = std::max(objHeight, std::max(kPlaceholderMin, h));
    }
    imageWidth = objWidth;
    imageHeight = objHeight;
    hasLinkFrame = !noBorder && inLink;
    if (hasLinkFrame) {
        imageWidth += 2;
        imageHeight += 2;
    }
}

}  // namespace htmlview
