#include "setup/ui/tests/tray_fakes.h"

#include <algorithm>

namespace setup::ui::testing {

std::optional<std::pair<tray::TaskbarEdge, tray::Rect>> FakeTaskbar::TaskbarPosition()
{
    if (!hasTaskbar)
        return std::nullopt;
    return std::make_pair(edge, taskbar);
}

// Seven pixels a character, lines of 13 pixels.
int FakeBalloonWindows::TextHeightAt(const std::string& text, int width)
{
    const int perLine = std::max(width / 7, 1);
    const int lines = (static_cast<int>(text.size()) + perLine - 1) / perLine;
    return lines * 13;
}

namespace {

class FakeBalloonWindow final : public tray::IBalloonWindow
{
public:
    explicit FakeBalloonWindow(FakeBalloonWindows& owner) : m_owner(owner) {}
    void Close(bool fade) override
    {
        m_owner.log.push_back(fade ? "close fade" : "close at once");
        m_owner.manager->BalloonHidden();
    }
    void Flush() override { m_owner.log.push_back("flush"); }

private:
    FakeBalloonWindows& m_owner;
};

}  // namespace

std::unique_ptr<tray::IBalloonWindow> FakeBalloonWindows::Open(const tray::BalloonRequest& request,
                                                               const tray::BalloonLayout& layout,
                                                               bool inTray,
                                                               tray::BalloonManager& owner)
{
    manager = &owner;
    opened.push_back({request, layout, inTray});
    log.push_back("open");
    owner.BalloonShown();
    return std::make_unique<FakeBalloonWindow>(*this);
}

bool RecordingTrayPlatform::NotifyShell(tray::NotifyMessage message,
                                        const tray::NotifyIconData& data)
{
    calls.push_back({message, data});
    return !refuse;
}

std::uintptr_t RecordingTrayPlatform::CreateHiddenWindow(tray::TrayWindowProcedure procedure)
{
    const std::uintptr_t window = nextWindow++;
    procedures[window] = std::move(procedure);
    return window;
}

std::uintptr_t RecordingTrayPlatform::IconFromFile(const std::string& icoFile)
{
    icons.push_back("file " + std::to_string(icoFile.size()));
    return 999 + icons.size();
}

std::uintptr_t RecordingTrayPlatform::IconFromPixels(const htmlview::PixelImage& pixels)
{
    icons.push_back("pixels " + std::to_string(pixels.ColorAt(0, 0).blue));
    return 999 + icons.size();
}

std::intptr_t RecordingTrayPlatform::Send(std::uint32_t message, std::uintptr_t first,
                                          std::intptr_t second)
{
    std::intptr_t answer = 0;
    // Every hidden window hears a broadcast; a callback reaches the one window made.
    for (auto& [window, procedure] : procedures)
        answer = procedure(message, first, second);
    return answer;
}

std::vector<tray::NotifyMessage> RecordingTrayPlatform::Messages() const
{
    std::vector<tray::NotifyMessage> messages;
    for (const ShellCall& call : calls)
        messages.push_back(call.message);
    return messages;
}

}  // namespace setup::ui::testing
