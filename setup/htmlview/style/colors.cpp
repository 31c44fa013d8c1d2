#include "setup/htmlview/style/colors.h"

#include <algorithm>
#include <array>

#include "setup/htmlview/util/text.h"
#include "setup/htmlview/util/win_math.h"

namespace htmlview {

namespace {

struct ColorName
{
    std::string_view name;
    std::uint32_t color;
};

// "transparent", the CSS colour keywords (red in the low byte, with the RGB flag) and the system
// colours (0xFF000000 plus the system colour index), sorted by name.
constexpr std::array<ColorName, 176> kNamedColors = {{
    {"activeborder", 0xFF00000A},
    {"activecaption", 0xFF000002},
    {"aliceblue", 0x02FFF8F0},
    {"antiquewhite", 0x02D7EBFA},
    {"appworkspace", 0xFF00000C},
    {"aqua", 0x02FFFF00},
    {"aquamarine", 0x02D4FF7F},
    {"azure", 0x02FFFFF0},
    {"background", 0xFF000001},
    {"beige", 0x02DCF5F5},
    {"bisque", 0x02C4E4FF},
    {"black", 0x02000000},
    {"blanchedalmond", 0x02CDEBFF},
    {"blue", 0x02FF0000},
    {"blueviolet", 0x02E22B8A},
    {"brown", 0x022A2AA5},
    {"burlywood", 0x0287B8DE},
    {"buttonface", 0xFF00000F},
    {"buttonhighlight", 0xFF000014},
    {"buttonshadow", 0xFF000010},
    {"buttontext", 0xFF000012},
    {"cadetblue", 0x02A09E5F},
    {"captiontext", 0xFF000009},
    {"chartreuse", 0x0200FF7F},
    {"chocolate", 0x021E69D2},
    {"coral", 0x02507FFF},
    {"cornflowerblue", 0x02ED9564},
    {"cornsilk", 0x02DCF8FF},
    {"crimson", 0x023C14DC},
    {"cyan", 0x02FFFF00},
    {"darkblue", 0x028B0000},
    {"darkcyan", 0x028B8B00},
    {"darkgoldenrod", 0x020B86B8},
    {"darkgray", 0x02A9A9A9},
    {"darkgreen", 0x02006400},
    {"darkgrey", 0x02A9A9A9},
    {"darkkhaki", 0x026BB7BD},
    {"darkmagenta", 0x028B008B},
    {"darkolivegreen", 0x022F6B55},
    {"darkorange", 0x02008CFF},
    {"darkorchid", 0x02CC3299},
    {"darkred", 0x0200008B},
    {"darksalmon", 0x027A96E9},
    {"darkseagreen", 0x028FBC8F},
    {"darkslateblue", 0x028B3D48},
    {"darkslategray", 0x024F4F2F},
    {"darkslategrey", 0x024F4F2F},
    {"darkturquoise", 0x02D1CE00},
    {"darkviolet", 0x02D30094},
    {"deeppink", 0x029314FF},
    {"deepskyblue", 0x02FFBF00},
    {"dimgray", 0x02696969},
    {"dimgrey", 0x02696969},
    {"dodgerblue", 0x02FF901E},
    {"firebrick", 0x022222B2},
    {"floralwhite", 0x02F0FAFF},
    {"forestgreen", 0x02228B22},
    {"fuchsia", 0x02FF00FF},
    {"gainsboro", 0x02DCDCDC},
    {"ghostwhite", 0x02FFF8F8},
    {"gold", 0x0200D7FF},
    {"goldenrod", 0x0220A5DA},
    {"gray", 0x02808080},
    {"graytext", 0xFF000011},
    {"green", 0x02008000},
    {"greenyellow", 0x022FFFAD},
    {"grey", 0x02808080},
    {"highlight", 0xFF00000D},
    {"highlighttext", 0xFF00000E},
    {"honeydew", 0x02F0FFF0},
    {"hotpink", 0x02B469FF},
    {"inactiveborder", 0xFF00000B},
    {"inactivecaption", 0xFF000003},
    {"inactivecaptiontext", 0xFF000013},
    {"indianred", 0x025C5CCD},
    {"indigo", 0x0282004B},
    {"infobackground", 0xFF000018},
    {"infotext", 0xFF000017},
    {"ivory", 0x02F0FFFF},
    {"khaki", 0x028CE6F0},
    {"lavender", 0x02FAE6E6},
    {"lavenderblush", 0x02F5F0FF},
    {"lawngreen", 0x0200FC7C},
    {"lemonchiffon", 0x02CDFAFF},
    {"lightblue", 0x02E6D8AD},
    {"lightcoral", 0x028080F0},
    {"lightcyan", 0x02FFFFE0},
    {"lightgoldenrodyellow", 0x02D2FAFA},
    {"lightgray", 0x02D3D3D3},
    {"lightgreen", 0x0290EE90},
    {"lightgrey", 0x02D3D3D3},
    {"lightpink", 0x02C1B6FF},
    {"lightsalmon", 0x027AA0FF},
    {"lightseagreen", 0x02AAB220},
    {"lightskyblue", 0x02FACE87},
    {"lightslategray", 0x02998877},
    {"lightslategrey", 0x02998877},
    {"lightsteelblue", 0x02DEC4B0},
    {"lightyellow", 0x02E0FFFF},
    {"lime", 0x0200FF00},
    {"limegreen", 0x0232CD32},
    {"linen", 0x02E6F0FA},
    {"magenta", 0x02FF00FF},
    {"maroon", 0x02000080},
    {"mediumaquamarine", 0x02AACD66},
    {"mediumblue", 0x02CD0000},
    {"mediumorchid", 0x02D355BA},
    {"mediumpurple", 0x02DB7093},
    {"mediumseagreen", 0x0271B33C},
    {"mediumslateblue", 0x02EE687B},
    {"mediumspringgreen", 0x029AFA00},
    {"mediumturquoise", 0x02CCD148},
    {"mediumvioletred", 0x028515C7},
    {"menu", 0xFF000004},
    {"menutext", 0xFF000007},
    {"midnightblue", 0x02701919},
    {"mintcream", 0x02FAFFF5},
    {"mistyrose", 0x02E1E4FF},
    {"moccasin", 0x02B5E4FF},
    {"navajowhite", 0x02ADDEFF},
    {"navy", 0x02800000},
    {"oldlace", 0x02E6F5FD},
    {"olive", 0x02008080},
    {"olivedrab", 0x02238E6B},
    {"orange", 0x0200A5FF},
    {"orangered", 0x020045FF},
    {"orchid", 0x02D670DA},
    {"palegoldenrod", 0x02AAE8EE},
    {"palegreen", 0x0298FB98},
    {"paleturquoise", 0x02EEEEAF},
    {"palevioletred", 0x029370DB},
    {"papayawhip", 0x02D5EFFF},
    {"peachpuff", 0x02B9DAFF},
    {"peru", 0x023F85CD},
    {"pink", 0x02CBC0FF},
    {"plum", 0x02DDA0DD},
    {"powderblue", 0x02E6E0B0},
    {"purple", 0x02800080},
    {"red", 0x020000FF},
    {"rosybrown", 0x028F8FBC},
    {"royalblue", 0x02E16941},
    {"saddlebrown", 0x0213458B},
    {"salmon", 0x027280FA},
    {"sandybrown", 0x0260A4F4},
    {"scrollbar", 0xFF000000},
    {"seagreen", 0x02578B2E},
    {"seashell", 0x02EEF5FF},
    {"sienna", 0x022D52A0},
    {"silver", 0x02C0C0C0},
    {"skyblue", 0x02EBCE87},
    {"slateblue", 0x02CD5A6A},
    {"slategray", 0x02908070},
    {"slategrey", 0x02908070},
    {"snow", 0x02FAFAFF},
    {"springgreen", 0x027FFF00},
    {"steelblue", 0x02B48246},
    {"tan", 0x028CB4D2},
    {"teal", 0x02808000},
    {"thistle", 0x02D8BFD8},
    {"threeddarkshadow", 0xFF000015},
    {"threedface", 0xFF00000F},
    {"threedhighlight", 0xFF000016},
    {"threedlightshadow", 0xFF000014},
    {"threedshadow", 0xFF000010},
    {"tomato", 0x024763FF},
    {"transparent", 0x1FFFFFFF},
    {"turquoise", 0x02D0E040},
    {"violet", 0x02EE82EE},
    {"wheat", 0x02B3DEF5},
    {"white", 0x02FFFFFF},
    {"whitesmoke", 0x02F5F5F5},
    {"window", 0xFF000005},
    {"windowframe", 0xFF000006},
    {"windowtext", 0xFF000008},
    {"yellow", 0x0200FFFF},
    {"yellowgreen", 0x0232CD9A},
}};

int RgbComponent(std::string_view part)
{
    part = Trim(part);
    if (const std::size_t percent = part.find('%'); percent != std::string_view::npos) {
        const auto value = ParseDecimal(Trim(part.substr(0, percent)));
        // Times 2.55, computed as 255 / 100 so that 50% is exactly 127.5 and rounds to 128.
        return value ? std::clamp(RoundClamped(*value * 255 / 100), 0, 255) : 0;
    }
    return std::clamp(ParseInteger(part).value_or(0), 0, 255);
}

std::optional<std::uint32_t> ParseRgbFunction(std::string_view text)
{
    std::size_t open = text.find('(');
    open = open == std::string_view::npos ? text.size() : open + 1;
    std::string_view inside = text.substr(open);
    inside = inside.substr(0, inside.find(')'));
    int components[3] = {0, 0, 0};
    for (int& component : components) {
        const std::size_t comma = inside.find(',');
        component = RgbComponent(inside.substr(0, comma));
        inside = comma == std::string_view::npos ? std::string_view() : inside.substr(comma + 1);
    }
    return MakeRgb(components[0], components[1], components[2]);
}

}  // namespace

std::uint32_t MakeRgb(int red, int green, int blue)
{
    return kRgbFlag | static_cast<std::uint32_t>(blue) << 16 |
           static_cast<std::uint32_t>(green) << 8 | static_cast<std::uint32_t>(red);
}

std::optional<std::uint32_t> ColorOfName(std::string_view lowerName)
{
    const auto found = std::lower_bound(
        kNamedColors.begin(), kNamedColors.end(), lowerName,
        [](const ColorName& entry, std::string_view name) { return entry.name < name; });
    if (found == kNamedColors.end() || found->name != lowerName)
        return std::nullopt;
    return found->color;
}

std::optional<std::uint32_t> ParseColor(std::string_view text, bool hashRequired)
{
    const std::string lower = LowerAscii(Trim(text));
    std::string_view value = lower;
    std::optional<std::uint32_t> color;
    if (!value.starts_with('#') && value.find("rgb(") == std::string_view::npos)
        color = ColorOfName(value);
    if (!color && value.find("rgb") != std::string_view::npos) {
        color = ParseRgbFunction(value);
    } else if (!color) {
        const std::size_t hash = value.rfind('#');
        if (hash == std::string_view::npos && hashRequired)
            return std::nullopt;
        if (hash != std::string_view::npos)
            value = Trim(value.substr(hash + 1));
        std::string digits(value);
        if (!digits.empty() && digits.size() <= 3) {
            std::string doubled;
            for (const char c : digits)
                doubled += std::string(2, c);
            digits = doubled;
        }
        const auto number = ParseHex(digits);
        if (!number)
            return std::nullopt;
        color = MakeRgb((*number >> 16) & 0xFF, (*number >> 8) & 0xFF, *number & 0xFF);
    }
    return *color | kRgbFlag;
}

std::uint32_t ResolveColor(std::uint32_t color, const IFontCatalog& system)
{
    if ((color & 0xFF000000u) == 0xFF000000u)
        return system.SystemColor(static_cast<int>(color & 0xFF)) | kRgbFlag;
    return color;
}

}  // namespace htmlview
