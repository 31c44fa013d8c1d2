// Stand-ins for what a viewer's core asks of the system: files kept in memory under a fixed
// folder, and a window that records what it was told (posted messages wait until a test runs
// them).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "setup/htmlview/viewer/viewer_window.h"

namespace htmlview::fakes {

class MemoryFiles : public IViewerFiles
{
public:
    explicit MemoryFiles(std::string folder = "C:\\site\\") : folder(std::move(folder)) {}
    bool FileExists(const std::string& path) const override { return files.count(FullPath(path)); }
    std::optional<std::string> ReadFile(const std::string& path) const override
    {
        const auto found = files.find(FullPath(path));
        if (found == files.end())
            return std::nullopt;
        return found->second;
    }
    std::string FullPath(const std::string& path) const override
    {
        return path.size() > 1 && path[1] == ':' ? path : folder + path;
    }
    std::string folder;
    std::map<std::string, std::string> files;
};

class RecordingWindow : public IViewerWindow
{
public:
    void Invalidate() override { ++invalidated; }
    void ScrollContents(int dy) override { shifts.push_back(dy); }
    void ArrangeBars(const BarArrangement& arranged, int, int) override { bars = arranged; }
    void SetScrollPositions(int vertical, int) override { position = vertical; }
    void SetCursor(ViewerCursor shown) override { cursor = shown; }
    void SetHoverTimer(bool on) override { hoverTimer = on; }
    void SetDragScrollTimer(bool on) override { dragTimer = on; }
    void PostLinkActivation() override { ++postedLinks; }
    void PostFormSubmit() override { ++postedSubmits; }
    void CopyText(const std::u16string& text) override { copied = text; }
    void TakeFocus() override {}
    int WheelLines() const override { return 3; }

    int invalidated = 0;
    std::vector<int> shifts;
    BarArrangement bars;
    int position = 0;
    ViewerCursor cursor = ViewerCursor::Default;
    bool hoverTimer = false, dragTimer = false;
    int postedLinks = 0, postedSubmits = 0;
    std::u16string copied;
};

}  // namespace htmlview::fakes
