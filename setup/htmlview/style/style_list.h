// The style sheet of a document: rules keyed by selector text, the link defaults, and the
// default sheet built from the viewer's settings.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/style/properties.h"
#include "setup/htmlview/util/platform.h"

namespace htmlview {

struct DefaultSheetSettings
{
    std::string fontName = "Times New Roman";
    std::string preFontName = "Courier New";
    int marginWidth = 10;
    int marginHeight = 5;
    int charset = 1;
    bool underlineLinks = true;
    std::uint32_t hoverColor = 0x0000FF;  // red in the low byte
    std::uint32_t visitedColor = 0x800080;
    std::uint32_t linkColor = 0xFF0000;
    std::uint32_t textColor = 0;
    double fontPoints = 12;
    bool windows9x = false;  // text areas keep the proportional font there
};

class StyleList : public IStyleSheetTarget
{
public:
    explicit StyleList(const IFontCatalog& fonts) : m_fonts(fonts) {}

    void Clear();
    void InitializeDefaults(const DefaultSheetSettings& settings);

    // The CSS reader's entry: one declaration of the rule with this key.
    void AddRuleValue(const std::string& key, const std::string& property,
                      const std::string& value) override;
    int TakeDescendantNumber() override;

    // The first rule of the key, or none.
    const Properties* Find(const std::string& key) const;
    void CopyRule(const std::string& from, const std::string& to);
    // Sets the colour of "::link", "::visited" or "::hover".
    void SetLinkColor(const std::string& state, std::uint32_t color);

    const std::multimap<std::string, std::unique_ptr<Properties>>& Rules() const { return m_rules; }
    double DefaultPoints() const { return m_defaultPoints; }
    bool HoverStyling() const { return m_hoverStyling; }
    const IFontCatalog& Fonts() const { return m_fonts; }

private:
    Properties& RuleOf(const std::string& key);

    const IFontCatalog& m_fonts;
    std::multimap<std::string, std::unique_ptr<Properties>> m_rules;
    int m_descendantCounter = 10;
    double m_defaultPoints = 12;
    bool m_hoverStyling = false;
};

}  // namespace htmlview
