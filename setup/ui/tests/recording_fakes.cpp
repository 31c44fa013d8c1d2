#include "setup/ui/tests/recording_fakes.h"

namespace setup::ui::testing {
namespace {

class RecordingPeer final : public IControlPeer
{
public:
    explicit RecordingPeer(std::shared_ptr<PeerRecord> record) : m_record(std::move(record)) {}
    ~RecordingPeer() override { m_record->alive = false; }
    void Update(Aspect aspect) override { m_record->updates.push_back(aspect); }
    bool Focused() const override { return false; }
    void SetFocus() override {}
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(this); }

private:
    std::shared_ptr<PeerRecord> m_record;
};

}  // namespace

std::unique_ptr<IControlPeer> RecordingPeerFactory::CreatePeer(TWinControl& control)
{
    auto record = std::make_shared<PeerRecord>();
    record->control = &control;
    created.push_back(record);
    return std::make_unique<RecordingPeer>(record);
}

std::vector<std::string> RecordingPeerFactory::CreatedNames() const
{
    std::vector<std::string> names;
    for (const auto& record : created)
        names.push_back(record->control->Name());
    return names;
}

bool ScriptedLoop::HandleMessage()
{
    if (quit || next >= steps.size())
        return false;
    steps[next++]();
    return true;
}

std::uintptr_t ManualTimers::StartTimer(unsigned milliseconds, std::function<void()> callback)
{
    running[++lastId] = {milliseconds, std::move(callback)};
    return lastId;
}

void ManualTimers::TickAll()
{
    auto copy = running;
    for (auto& [id, timer] : copy)
        if (running.count(id))
            timer.second();
}

std::string RectText(const TRect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

void RecordingDevice::FillRect(const TRect& rect, const TBrush& brush)
{
    calls.push_back("fill " + RectText(rect));
}

void RecordingDevice::Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush)
{
    calls.push_back("rectangle " + RectText(rect));
}

void RecordingDevice::Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush)
{
    calls.push_back("ellipse " + RectText(rect));
}

void RecordingDevice::RoundRect(const TRect& rect, int radius, const TPen& pen, const TBrush& brush)
{
    calls.push_back("roundrect " + RectText(rect) + " " + std::to_string(radius));
}

void RecordingDevice::Line(TPoint from, TPoint to, const TPen& pen)
{
    calls.push_back("line " + std::to_string(from.x) + "," + std::to_string(from.y) + "-" +
                    std::to_string(to.x) + "," + std::to_string(to.y));
}

void RecordingDevice::DrawText(TRect& rect, const std::string& text, const TFont& font,
                               unsigned flags)
{
    if (flags & tfCalcRect) {
        // Eight pixels a character, thirteen a line.
        rect.right = rect.left + static_cast<int>(text.size()) * 8;
        rect.bottom = rect.top + 13;
        return;
    }
    calls.push_back("text " + RectText(rect) + " '" + text + "'");
}

TPoint RecordingDevice::TextExtent(const std::string& text, const TFont& font)
{
    return {static_cast<int>(text.size()) * 8, 13};
}

void RecordingDevice::DrawImage(const TRect& dest, const htmlview::PixelImage& image)
{
    calls.push_back("image " + RectText(dest) + " " + std::to_string(image.width) + "x" +
                    std::to_string(image.height));
}

void RecordingDevice::DrawIconData(const TRect& dest, const std::string& icon)
{
    calls.push_back("icon " + RectText(dest));
}

void RecordingDevice::DrawMetafileData(const TRect& dest, const std::string& metafile)
{
    calls.push_back("metafile " + RectText(dest));
}

}  // namespace setup::ui::testing
