// Recording fakes for the window side: a peer factory that keeps the windows it made and what
// each was told, a message loop driven by a script, a timer service ticked by hand, and a canvas
// device that keeps the drawing calls as text.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "setup/ui/application.h"
#include "setup/ui/canvas.h"
#include "setup/ui/control.h"

namespace setup::ui::testing {

struct PeerRecord
{
    TWinControl* control = nullptr;
    std::vector<Aspect> updates;
    bool alive = true;
};

class RecordingPeerFactory final : public IPeerFactory
{
public:
    std::unique_ptr<IControlPeer> CreatePeer(TWinControl& control) override;
    // Records in creation order; a destroyed window stays with alive false.
    std::vector<std::shared_ptr<PeerRecord>> created;
    std::vector<std::string> CreatedNames() const;
};

// Each HandleMessage runs the next scripted step; with none left the loop asks to quit.
class ScriptedLoop final : public IMessageLoop
{
public:
    bool HandleMessage() override;
    bool ProcessMessages() override { return true; }
    void PostQuit() override { quit = true; }
    void DisableOtherWindows(TCustomForm& modal, bool disable) override
    {
        disabled.push_back(disable);
    }
    std::vector<std::function<void()>> steps;
    std::size_t next = 0;
    bool quit = false;
    std::vector<bool> disabled;
};

class ManualTimers final : public ITimerService
{
public:
    std::uintptr_t StartTimer(unsigned milliseconds, std::function<void()> callback) override;
    void StopTimer(std::uintptr_t id) override { running.erase(id); }
    void TickAll();
    std::map<std::uintptr_t, std::pair<unsigned, std::function<void()>>> running;
    std::uintptr_t lastId = 0;
};

class RecordingDevice final : public ICanvasDevice
{
public:
    void FillRect(const TRect& rect, const TBrush& brush) override;
    void Rectangle(const TRect& rect, const TPen& pen, const TBrush& brush) override;
    void Ellipse(const TRect& rect, const TPen& pen, const TBrush& brush) override;
    void RoundRect(const TRect& rect, int radius, const TPen& pen, const TBrush& brush) override;
    void Line(TPoint from, TPoint to, const TPen& pen) override;
    void DrawText(TRect& rect, const std::string& text, const TFont& font, unsigned flags) override;
    TPoint TextExtent(const std::string& text, const TFont& font) override;
    void DrawImage(const TRect& dest, const htmlview::PixelImage& image) override;
    void DrawIconData(const TRect& dest, const std::string& icon) override;
    void DrawMetafileData(const TRect& dest, const std::string& metafile) override;
    std::vector<std::string> calls;
};

std::string RectText(const TRect& rect);

}  // namespace setup::ui::testing
