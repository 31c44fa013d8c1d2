// The Flash frame without a player: the movie header table (plain, compressed, damaged), and the
// frame's choices over a fake system (which player to register, when to try again, how the
// frame and the player are sized, what the frame says when nothing plays).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <zlib.h>

#include "setup/ui/flash/flash_frame.h"
#include "setup/ui/flash/swf_header.h"
#include "setup/ui/form.h"
#include "setup/ui/tests/recording_fakes.h"

namespace setup::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The rectangle's bit stream: 5 bits of size, then the four values, most significant bit first.
Bytes RectBits(unsigned bits, std::int32_t xMin, std::int32_t xMax, std::int32_t yMin,
               std::int32_t yMax)
{
    Bytes out;
    std::size_t used = 0;
    auto put = [&](std::uint32_t value, unsigned count) {
        for (unsigned i = count; i-- > 0;) {
            if (used % 8 == 0)
                out.push_back(0);
            if ((value >> i) & 1u)
                out.back() |= static_cast<std::uint8_t>(0x80u >> (used % 8));
            ++used;
        }
    };
    put(bits, 5);
    for (std::int32_t value : {xMin, xMax, yMin, yMax})
        put(static_cast<std::uint32_t>(value), bits);
    return out;
}

Bytes Movie(const char* signature, const Bytes& body)
{
    Bytes file(signature, signature + 3);
    file.insert(file.end(), {10, 0, 0, 0, 0});
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Bytes Compressed(const Bytes& body)
{
    uLongf size = compressBound(static_cast<uLong>(body.size()));
    Bytes out(size);
    compress(out.data(), &size, body.data(), static_cast<uLong>(body.size()));
    out.resize(size);
    return out;
}

TEST(SwfHeader, ReadsTheFrameOfPlainAndCompressedMovies)
{
    // The usual 550 by 400 stage, written out by hand, then a frame that is followed by tags.
    const Bytes stage = {0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00, 0x18, 0x01, 0x00};
    Bytes withTags = RectBits(15, 0, 6000, 0, 4000);
    withTags.resize(withTags.size() + 40, 0x3F);
    Bytes wide = RectBits(31, -20, 20 * 32767, 0, 20);
    struct Case
    {
        const char* name;
        Bytes file;
        std::optional<std::pair<int, int>> pixels;
    };
    const std::vector<Case> cases = {
        {"plain stage", Movie("FWS", stage), std::pair{550, 400}},
        {"15-bit values", Movie("FWS", withTags), std::pair{300, 200}},
        {"compressed", Movie("CWS", Compressed(withTags)), std::pair{300, 200}},
        {"31-bit values at the largest window", Movie("FWS", wide), std::pair{32767, 1}},
        {"truncated rectangle", Movie("FWS", Bytes(stage.begin(), stage.begin() + 5)),
         std::nullopt},
        {"header only", Movie("FWS", {}), std::nullopt},
        {"shorter than a header", Bytes{'F', 'W', 'S', 10}, std::nullopt},
        {"zero-bit values", Movie("FWS", RectBits(0, 0, 0, 0, 0)), std::nullopt},
        {"negative right edge", Movie("FWS", RectBits(15, 0, -6000, 0, 4000)), std::nullopt},
        {"wider than a window", Movie("FWS", RectBits(31, 0, 20 * 40000, 0, 20)),
         std::nullopt},
        {"compressed stream broken", Movie("CWS", {0x78, 0x9C, 0xFF, 0xFF, 0x00}),
         std::nullopt},
        {"compressed stream cut short", Movie("CWS", [&] {
             Bytes cut = Compressed(withTags);
             cut.resize(4);
             return cut;
         }()),
         std::nullopt},
        {"not a movie", Movie("GIF", stage), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rect = ReadSwfFrameRect(c.file);
        ASSERT_EQ(rect.has_value(), c.pixels.has_value());
        if (rect) {
            EXPECT_EQ(std::pair(SwfPixels(rect->xMax), SwfPixels(rect->yMax)), *c.pixels);
        }
    }
}

struct PlayerLog
{
    std::vector<std::string> calls;
    int percentLoaded = 100;
};

class FakePlayer final : public IFlashPlayer
{
public:
    explicit FakePlayer(PlayerLog& log) : m_log(log) {}
    ~FakePlayer() override { m_log.calls.push_back("freed"); }
    bool SetMovie(const std::string& path) override
    {
        m_log.calls.push_back("movie " + path);
        return true;
    }
    std::optional<int> PercentLoaded() override { return m_log.percentLoaded; }
    bool SetLoop(bool loop) override
    {
        m_log.calls.push_back(loop ? "loop on" : "loop off");
        return true;
    }
    void Play() override { m_log.calls.push_back("play"); }
    void Stop() override { m_log.calls.push_back("stop"); }
    void Place(const TRect& bounds) override
    {
        m_log.calls.push_back("place " + std::to_string(bounds.left) + "," +
                              std::to_string(bounds.top) + " " + std::to_string(bounds.Width()) +
                              "x" + std::to_string(bounds.Height()));
    }
    void Activate() override { m_log.calls.push_back("activate"); }

private:
    PlayerLog& m_log;
};

class FakeFlashSystem final : public IFlashSystem
{
public:
    std::string SystemFolder() override { return "C:\\Windows\\System32"; }
    std::vector<std::string> FindFilesBelow(const std::string& folder,
                                            const std::string& pattern) override
    {
        actions.push_back("find " + folder + "\\" + pattern);
        return installed;
    }
    std::optional<std::uint64_t> FileVersion(const std::string& path) override
    {
        const auto found = versions.find(path);
        return found == versions.end() ? std::nullopt : std::optional(found->second);
    }
    bool CopyOver(const std::string& from, const std::string& to) override
    {
        actions.push_back("copy " + from + " " + to);
        return versions.count(from) != 0;
    }
    bool RegisterServer(const std::string& path) override
    {
        actions.push_back("register " + path);
        registered = registerWorks;
        return registerWorks;
    }
    std::vector<std::uint8_t> ReadFileStart(const std::string& path, std::size_t) override
    {
        return path == "movie.swf" ? movie : Bytes{};
    }
    PlayerCreation CreatePlayer(TFlashFrame&) override
    {
        PlayerCreation created;
        ++creations;
        if (onCreate)
            onCreate();
        if (registered)
            created.player = std::make_unique<FakePlayer>(log);
        else
            created.notRegistered = true;
        return created;
    }

    std::vector<std::string> installed;
    std::map<std::string, std::uint64_t> versions;
    bool registered = true;
    bool registerWorks = true;
    Bytes movie = Movie("FWS", RectBits(15, 0, 6000, 0, 4000));
    int creations = 0;
    std::function<void()> onCreate;
    std::vector<std::string> actions;
    PlayerLog log;
};

constexpr const char* kSetupPlayer = "C:\\support\\flash.ocx";
constexpr std::uint64_t Version(std::uint64_t major)
{
    return major << 48;
}

class FlashFrameTest : public ::testing::Test
{
protected:
    FlashFrameTest() { frame.SetBounds(10, 10, 200, 100); }
    void Open(const std::string& movie = "movie.swf")
    {
        OpenFlashMovie(frame, FlashSource{system, kSetupPlayer, "Unable to play Flash movie"},
                       movie);
    }
    bool Registered() const
    {
        const std::string registration = "register C:\\Windows\\System32\\flash.ocx";
        return std::find(system.actions.begin(), system.actions.end(), registration) !=
               system.actions.end();
    }

    FakeFlashSystem system;
    TFlashFrame frame{nullptr};
};

TEST_F(FlashFrameTest, TheSetupPlayerIsRegisteredOnlyWhenNewerThanEveryInstalledOne)
{
    struct Case
    {
        const char* name;
        std::uint64_t setupPlayer;
        bool expectRegistered;
    };
    const Case cases[] = {
        {"older copy", Version(9), false},
        {"same version", Version(10), false},
        {"newer copy", Version(11), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system = FakeFlashSystem{};
        system.installed = {"C:\\Windows\\System32\\Macromed\\Flash\\flash10.ocx",
                            "C:\\Windows\\System32\\Macromed\\Flash\\flash8.ocx"};
        system.versions = {{system.installed[0], Version(10)},
                           {system.installed[1], Version(8)},
                           {kSetupPlayer, c.setupPlayer}};
        Open();
        EXPECT_EQ(Registered(), c.expectRegistered);
        EXPECT_NE(frame.Player(), nullptr);
    }
}

TEST_F(FlashFrameTest, AnUnregisteredPlayerIsRegisteredAndCreatedAgain)
{
    system.versions = {{kSetupPlayer, Version(9)}};
    system.installed = {"C:\\Windows\\System32\\flash9.ocx"};
    system.versions["C:\\Windows\\System32\\flash9.ocx"] = Version(9);
    system.registered = false;
    Open();
    EXPECT_TRUE(Registered());
    EXPECT_EQ(system.creations, 2);
    ASSERT_NE(frame.Player(), nullptr);
    EXPECT_EQ(system.log.calls.front(), "movie movie.swf");
    EXPECT_EQ(frame.Caption(), "");
}

TEST_F(FlashFrameTest, WithoutAPlayerTheFrameSaysSoAndTheSizeStays)
{
    struct Case
    {
        const char* name;
        bool autoRegister;
        bool registerWorks;
        int percentLoaded;
    };
    const Case cases[] = {
        {"registration not allowed", false, true, 100},
        {"registration failing", true, false, 100},
        {"movie never loading", true, true, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system = FakeFlashSystem{};
        system.versions = {{kSetupPlayer, Version(9)}};
        system.registered = c.percentLoaded != 100;
        system.registerWorks = c.registerWorks;
        system.log.percentLoaded = c.percentLoaded;
        frame.SetCaption("");
        frame.autoRegisterFlash = c.autoRegister;
        frame.autoSize = true;
        Open();
        EXPECT_EQ(frame.Player(), nullptr);
        EXPECT_EQ(frame.Caption(), "Unable to play Flash movie");
        EXPECT_EQ(frame.Width(), 200);
        if (c.percentLoaded != 100) {
            EXPECT_EQ(system.creations, 2);  // one more try after registering
        }
    }
}

TEST_F(FlashFrameTest, TheMovieSizesTheFrameOrThePlayer)
{
    struct Case
    {
        const char* name;
        bool autoSize;
        bool autoScale;
        const char* movie;
        std::pair<int, int> frameSize;
        const char* placement;
    };
    const Case cases[] = {
        {"frame sized, player fills it", true, true, "movie.swf", {300, 200}, "place 0,0 300x200"},
        {"player at the movie's size", false, false, "movie.swf", {200, 100},
         "place 0,0 298x198"},
        {"frame kept, player fills it", false, true, "movie.swf", {200, 100},
         "place 0,0 200x100"},
        {"unreadable movie, frame kept", true, true, "gone.swf", {200, 100},
         "place 0,0 200x100"},
        {"unreadable movie, player not placed", false, false, "gone.swf", {200, 100}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system = FakeFlashSystem{};
        frame.SetBounds(10, 10, 200, 100);
        frame.autoSize = c.autoSize;
        frame.autoScale = c.autoScale;
        frame.loop = true;
        Open(c.movie);
        EXPECT_EQ(std::pair(frame.Width(), frame.Height()), c.frameSize);
        std::vector<std::string> expected = {std::string("movie ") + c.movie};
        if (c.placement)
            expected.push_back(c.placement);
        expected.insert(expected.end(), {"loop on", "activate"});
        EXPECT_EQ(system.log.calls, expected);
        CloseFlashMovie(frame);
    }
}

TEST_F(FlashFrameTest, PlayAndCloseReachThePlayerOnlyWhenThereIsOne)
{
    PlayFlashMovie(frame);
    CloseFlashMovie(frame);
    EXPECT_TRUE(system.log.calls.empty());
    Open();
    system.log.calls.clear();
    PlayFlashMovie(frame);
    CloseFlashMovie(frame);
    EXPECT_EQ(system.log.calls, (std::vector<std::string>{"play", "stop", "freed"}));
    EXPECT_EQ(frame.Player(), nullptr);
}

TEST_F(FlashFrameTest, ANewWindowOfThePageGetsThePlayerBackPlaying)
{
    testing::RecordingPeerFactory peers;
    testing::ScriptedLoop loop;
    TApplication application(loop, &peers);
    TForm page;
    application.AddForm(page);
    auto* movieFrame = new TFlashFrame(&page);
    movieFrame->SetParent(&page);
    const FlashSource source{system, kSetupPlayer, "Unable to play Flash movie"};
    // The player makes the frame's window; a page shown again gets new windows.
    system.onCreate = [movieFrame] { movieFrame->HandleNeeded(); };
    OpenFlashMovie(*movieFrame, source, "movie.swf");
    PlayFlashMovie(*movieFrame);
    page.RecreateWnd();
    EXPECT_EQ(system.creations, 2);
    ASSERT_NE(movieFrame->Player(), nullptr);
    EXPECT_EQ(std::count(system.log.calls.begin(), system.log.calls.end(), "play"), 2);

    // A closed movie stays closed.
    CloseFlashMovie(*movieFrame);
    page.RecreateWnd();
    EXPECT_EQ(system.creations, 2);
    application.RemoveForm(page);
}

}  // namespace
}  // namespace setup::ui
