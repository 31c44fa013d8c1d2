// The native build's pane platform: fixed-advance measuring, the fake code pages and fonts, and
// the process's own files, so pages with HTML panes load and lay out in portable tests.
#include <fstream>
#include <sstream>

#include "setup/htmlview/util/fake_platform.h"
#include "setup/ui/html_pane.h"

namespace setup::ui {

namespace {

class StreamFiles : public htmlview::IViewerFiles
{
public:
    bool FileExists(const std::string& path) const override { return std::ifstream(path).good(); }
    std::optional<std::string> ReadFile(const std::string& path) const override
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string FullPath(const std::string& path) const override { return path; }
};

class NativePlatform : public HtmlPanePlatform
{
public:
    htmlview::ViewerServices Services() override
    {
        return {m_measurer, m_fonts, m_codePages, m_files};
    }

private:
    htmlview::FakeTextMeasurer m_measurer;
    htmlview::FakeFontCatalog m_fonts;
    htmlview::FakeCodePages m_codePages;
    StreamFiles m_files;
};

}  // namespace

std::unique_ptr<HtmlPanePlatform> MakeHtmlPanePlatform()
{
    return std::make_unique<NativePlatform>();
}

}  // namespace setup::ui
