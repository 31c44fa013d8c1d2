#include "setup/ui/flash/flash_frame.h"

#include <algorithm>

#include "setup/forms/class_builder.h"
#include "setup/ui/flash/swf_header.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

std::string InFolder(std::string folder, const std::string& name)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder + name;
}

std::uint64_t NewestInstalledPlayer(IFlashSystem& system)
{
    std::uint64_t newest = 0;
    for (const std::string& path : system.FindFilesBelow(system.SystemFolder(), "*flash*.ocx"))
        newest = std::max(newest, system.FileVersion(path).value_or(0));
    return newest;
}

void ShowFailure(TFlashFrame& frame, const FlashSource& source)
{
    frame.FreePlayer();
    frame.SetCaption(source.failureCaption);
}

bool FullyLoaded(IFlashPlayer& player)
{
    return player.PercentLoaded() == 100;
}

}  // namespace

const ClassInfo& TFlashFrame::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TFlashFrame>("TFlashFrame", &TCustomPanel::StaticClass())
            .Property("AutoRegisterFlash", &TFlashFrame::autoRegisterFlash)
            .Property("AutoScale", &TFlashFrame::autoScale)
            .Property("Loop", &TFlashFrame::loop)
            .Build();
    return info;
}

TFlashFrame::TFlashFrame(forms::TComponent* owner) : TCustomPanel(owner)
{
    bevelInner = bvNone;
    bevelOuter = bvNone;
}

TFlashFrame::~TFlashFrame()
{
    FreePlayer();
}

void TFlashFrame::SetPlayer(std::unique_ptr<IFlashPlayer> player)
{
    m_player = std::move(player);
}

void TFlashFrame::FreePlayer()
{
    m_player.reset();
}

void TFlashFrame::RememberMovie(const FlashSource& source, const std::string& movie)
{
    m_source.emplace(source);
    m_movie = movie;
    m_playing = false;
}

void TFlashFrame::ForgetMovie()
{
    m_source.reset();
    m_movie.clear();
    m_playing = false;
}

void TFlashFrame::CreateWnd()
{
    TCustomPanel::CreateWnd();
    if (!m_player || !m_source)
        return;
    const FlashSource source = *m_source;
    const std::string movie = m_movie;
    const bool playing = m_playing;
    FreePlayer();
    OpenFlashMovie(*this, source, movie);
    if (playing)
        PlayFlashMovie(*this);
}

bool RegisterSetupPlayer(const TFlashFrame& frame, const FlashSource& source)
{
    if (!frame.autoRegisterFlash)
        return false;
    const std::string target = InFolder(source.system.SystemFolder(), "flash.ocx");
    return source.system.CopyOver(source.controlPath, target) &&
           source.system.RegisterServer(target);
}

bool CreateFlashPlayer(TFlashFrame& frame, const FlashSource& source, const std::string& movie)
{
    IFlashSystem& system = source.system;
    // A newer player already on the machine is never replaced by the setup's copy.
    const std::uint64_t installed = NewestInstalledPlayer(system);
    if (system.FileVersion(source.controlPath).value_or(0) > installed)
        RegisterSetupPlayer(frame, source);

    PlayerCreation created = system.CreatePlayer(frame);
    if (!created.player && created.notRegistered && RegisterSetupPlayer(frame, source))
        created = system.CreatePlayer(frame);
    if (!created.player)
        return false;
    frame.SetPlayer(std::move(created.player));
    frame.Player()->SetMovie(movie);
    return true;
}

void OpenFlashMovie(TFlashFrame& frame, const FlashSource& source, const std::string& movie)
{
    frame.RememberMovie(source, movie);
    if (!CreateFlashPlayer(frame, source, movie)) {
        ShowFailure(frame, source);
        return;
    }
    if (!FullyLoaded(*frame.Player())) {
        frame.FreePlayer();
        if (!RegisterSetupPlayer(frame, source) || !CreateFlashPlayer(frame, source, movie) ||
            !FullyLoaded(*frame.Player())) {
            ShowFailure(frame, source);
            return;
        }
    }
    const auto rect = ReadSwfFrameRect(source.system.ReadFileStart(movie, kSwfHeadBytes));
    if (frame.autoSize && rect) {
        // The frame's client area is the whole panel: it has no border.
        frame.SetBounds(frame.Left(), frame.Top(), SwfPixels(rect->xMax), SwfPixels(rect->yMax));
    }
    if (frame.autoScale)
        frame.Player()->Place(frame.ClientRect());
    else if (rect)
        frame.Player()->Place(
            TRect::Bounds(0, 0, SwfPixels(rect->xMax) - 2, SwfPixels(rect->yMax) - 2));
    frame.Player()->SetLoop(frame.loop);
    frame.Player()->Activate();
}

void PlayFlashMovie(TFlashFrame& frame)
{
    if (frame.Player()) {
        frame.Player()->Play();
        frame.SetPlaying(true);
    }
}

void CloseFlashMovie(TFlashFrame& frame)
{
    frame.ForgetMovie();
    if (frame.Player()) {
        frame.Player()->Stop();
        frame.FreePlayer();
    }
}

}  // namespace setup::ui
