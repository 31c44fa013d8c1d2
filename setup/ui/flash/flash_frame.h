// TFlashFrame: a panel that plays a Flash movie in the Flash player's ActiveX control. The frame
// finds the newest player the machine has, registers the setup's own copy when it is newer or
// when no player is registered, and sizes itself or the player after the movie's frame. What the
// machine does (files, versions, registration, the hosted control) sits behind IFlashSystem.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/ui/containers.h"

namespace setup::ui {

class TFlashFrame;

// The player control as the frame drives it.
class IFlashPlayer
{
public:
    virtual ~IFlashPlayer() = default;
    // The Movie property; false when the player refused it.
    virtual bool SetMovie(const std::string& path) = 0;
    // None when the player cannot tell.
    virtual std::optional<int> PercentLoaded() = 0;
    // The Loop property; false when the player refused it.
    virtual bool SetLoop(bool loop) = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    // In the frame's client coordinates.
    virtual void Place(const TRect& bounds) = 0;
    // A left click on the player's window, which activates the control.
    virtual void Activate() = 0;
};

// The outcome of creating the player control.
struct PlayerCreation
{
    std::unique_ptr<IFlashPlayer> player;
    // The failure was the system's "class not registered": registering a player may help.
    bool notRegistered = false;
};

class IFlashSystem
{
public:
    virtual ~IFlashSystem() = default;
    virtual std::string SystemFolder() = 0;
    // Full paths of the files matching the pattern in the folder and every folder below it.
    virtual std::vector<std::string> FindFilesBelow(const std::string& folder,
                                                    const std::string& pattern) = 0;
    // The file version (major, minor, release, build in 16 bits each); none without one.
    virtual std::optional<std::uint64_t> FileVersion(const std::string& path) = 0;
    // Overwrites the target.
    virtual bool CopyOver(const std::string& from, const std::string& to) = 0;
    // Loads the library and calls its self-registration; true when that reported success.
    virtual bool RegisterServer(const std::string& path) = 0;
    // Up to `count` bytes from the file's start; empty when it cannot be read.
    virtual std::vector<std::uint8_t> ReadFileStart(const std::string& path,
                                                    std::size_t count) = 0;
    // The player hosted in the frame's window (made here when the frame has none yet).
    virtual PlayerCreation CreatePlayer(TFlashFrame& frame) = 0;
};

// Where the frame takes its player from and what it says when it cannot play.
struct FlashSource
{
    IFlashSystem& system;
    // The player control file the setup carries in its support folder.
    std::string controlPath;
    std::string failureCaption;
};

class TFlashFrame : public TCustomPanel
{
public:
    FORMS_CLASS_INFO()
    explicit TFlashFrame(forms::TComponent* owner);
    ~TFlashFrame() override;

    // Copy the setup's player into the system folder before registering it.
    bool autoRegisterFlash = true;
    // The player fills the frame; otherwise it takes the movie's size.
    bool autoScale = true;
    bool loop = false;

    IFlashPlayer* Player() const { return m_player.get(); }
    void SetPlayer(std::unique_ptr<IFlashPlayer> player);
    void FreePlayer();
    // The movie open now, so a new window of the frame gets its player again.
    void RememberMovie(const FlashSource& source, const std::string& movie);
    void ForgetMovie();
    void SetPlaying(bool playing) { m_playing = playing; }

protected:
    // The player lived in the old window: the movie is opened again in the new one.
    void CreateWnd() override;

private:
    std::unique_ptr<IFlashPlayer> m_player;
    std::optional<FlashSource> m_source;
    std::string m_movie;
    bool m_playing = false;
};

// Registers the setup's player: copied into the system folder as "flash.ocx" first (only when
// the frame allows it).
bool RegisterSetupPlayer(const TFlashFrame& frame, const FlashSource& source);
// Finds or registers a player, creates it in the frame and gives it the movie.
bool CreateFlashPlayer(TFlashFrame& frame, const FlashSource& source, const std::string& movie);
// Creates the player, loads and shows the movie; the failure caption instead when it cannot.
void OpenFlashMovie(TFlashFrame& frame, const FlashSource& source, const std::string& movie);
void PlayFlashMovie(TFlashFrame& frame);
void CloseFlashMovie(TFlashFrame& frame);

}  // namespace setup::ui
