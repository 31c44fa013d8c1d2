// The notification-area icons over a recording shell: what each property puts into the record,
// which calls reach the shell, the callbacks of the hidden window and the choice of balloon.
#include <gtest/gtest.h>

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"
#include "setup/ui/image_list.h"
#include "setup/ui/picture.h"
#include "setup/ui/tests/graphic_files.h"
#include "setup/ui/tests/recording_fakes.h"
#include "setup/ui/tests/tray_fakes.h"
#include "setup/ui/tray/ico_directory.h"
#include "setup/ui/tray/sx_tray_icon.h"
#include "setup/ui/tray/tray_icon.h"

namespace setup::ui::testing {
namespace {

using tray::NotifyMessage;
using Messages = std::vector<NotifyMessage>;

// A form whose published handlers count the icons' events.
struct TrayWatcher : TForm
{
    FORMS_CLASS_INFO()
    using TForm::TForm;
    std::vector<std::string> events;
    void Clicked(forms::TObject*) { events.push_back("click"); }
    void DoubleClicked(forms::TObject*) { events.push_back("double click"); }
    void Animated(forms::TObject*) { events.push_back("animate"); }
    void BalloonClicked(forms::TObject*) { events.push_back("balloon click"); }
    void BalloonTimedOut(forms::TObject*) { events.push_back("balloon timeout"); }
    void BalloonHidden(forms::TObject*) { events.push_back("balloon hide"); }
    void BalloonShown(forms::TObject*) { events.push_back("balloon show"); }
    void Failed(forms::TObject*, bool& retry)
    {
        events.push_back("fail");
        retry = retriesLeft-- > 0;
    }
    int retriesLeft = 0;

    template <class Event>
    void Bind(Event& event, const char* method)
    {
        static_cast<forms::TMethod&>(event) = {StaticClass().FindMethod(method), this};
    }
};

const forms::ClassInfo& TrayWatcher::StaticClass()
{
    static const forms::ClassInfo info =
        forms::ClassBuilder<TrayWatcher>("TTrayWatcher", &TForm::StaticClass())
            .Method("Clicked", &TrayWatcher::Clicked)
            .Method("DoubleClicked", &TrayWatcher::DoubleClicked)
            .Method("Animated", &TrayWatcher::Animated)
            .Method("BalloonClicked", &TrayWatcher::BalloonClicked)
            .Method("BalloonTimedOut", &TrayWatcher::BalloonTimedOut)
            .Method("BalloonHidden", &TrayWatcher::BalloonHidden)
            .Method("BalloonShown", &TrayWatcher::BalloonShown)
            .Method("Failed", &TrayWatcher::Failed)
            .Build();
    return info;
}

class TrayIconTest : public ::testing::Test
{
protected:
    TrayIconTest()
    {
        application.title = "Product Setup";
        application.trayPlatform = &shell;
        application.AddForm(form);
    }

    ScriptedLoop loop;
    ManualTimers timers;
    TApplication application{loop, nullptr, &timers};
    RecordingTrayPlatform shell;
    TrayWatcher form;
};

TEST_F(TrayIconTest, TextsAreCutToTheRecordsFields)
{
    tray::TTrayIcon icon(&form);
    EXPECT_EQ(icon.Data().tip, "Product Setup");  // the application's title until a hint is set
    EXPECT_EQ(icon.Data().callbackMessage, 1025u);
    EXPECT_EQ(icon.Data().id, static_cast<std::uint32_t>(icon.Data().window));
    EXPECT_NE(icon.Data().window, 0u);

    icon.SetHint(std::string(200, 'h'));
    EXPECT_EQ(icon.Data().tip, std::string(127, 'h'));
    EXPECT_TRUE(icon.Data().flags & tray::kNifTip);
    icon.SetHint("");
    EXPECT_FALSE(icon.Data().flags & tray::kNifTip);

    icon.SetBalloonHint(std::string(300, 't'));
    icon.SetBalloonTitle(std::string(100, 'T'));
    EXPECT_EQ(icon.Data().info, std::string(255, 't'));
    EXPECT_EQ(icon.Data().infoTitle, std::string(63, 'T'));
    EXPECT_EQ(icon.Data().infoFlags, 0u);
    EXPECT_EQ(icon.Data().timeout, 3000u);
    // Neither text shows a balloon by itself.
    EXPECT_FALSE(icon.Data().flags & tray::kNifInfo);
    icon.balloonFlags = tray::bfWarning;
    EXPECT_TRUE(icon.ShowBalloonTip());
    EXPECT_TRUE(icon.Data().flags & tray::kNifInfo);
    EXPECT_EQ(icon.Data().infoFlags, 2u);
}

TEST_F(TrayIconTest, ShowingTwiceAddsOnceAndRefusalsRaise)
{
    {
        tray::TTrayIcon icon(&form);
        icon.SetVisible(true);
        icon.SetVisible(true);
        EXPECT_EQ(shell.Messages(), (Messages{tray::nimModify, tray::nimAdd}));
        EXPECT_EQ(shell.calls.back().data.icon, 7u);  // no icon of its own: the application's
        icon.SetVisible(false);
        EXPECT_EQ(shell.Messages().back(), tray::nimDelete);
    }
    struct Case
    {
        bool show;
        const char* message;
    };
    for (const Case c : {Case{true, "Cannot create shell notification icon"},
                         Case{false, "Cannot remove shell notification icon"}}) {
        tray::TTrayIcon icon(&form);
        if (!c.show)
            icon.SetVisible(true);
        shell.refuse = true;
        try {
            icon.SetVisible(c.show);
            ADD_FAILURE() << c.message;
        } catch (const tray::EOutOfResources& failure) {
            EXPECT_STREQ(failure.what(), c.message);
        }
        shell.refuse = false;
    }
}

TEST_F(TrayIconTest, AnimationRunsThroughTheImagesAndStopsOnTheFrameShown)
{
    TImageList images(&form);
    images.SetWidth(4);
    images.SetHeight(4);
    TBitmap strip;
    strip.LoadFromBytes(BmpFile(12, 4, [](int x, int) {
        return htmlview::Rgb{0, 0, static_cast<std::uint8_t>(10 + x / 4)};
    }));
    images.Add(strip);
    tray::TTrayIcon icon(&form);
    form.Bind(icon.onAnimate, "Animated");
    icon.SetIcons(&images);
    icon.SetAnimate(true);
    EXPECT_FALSE(icon.AnimationRunning());  // only while visible
    icon.SetVisible(true);
    ASSERT_TRUE(icon.AnimationRunning());
    EXPECT_EQ(timers.running.begin()->second.first, 1000u);

    std::vector<int> shown;
    for (int tick = 0; tick < 4; ++tick) {
        timers.TickAll();
        shown.push_back(icon.IconIndex());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(form.events.size(), 4u);
    EXPECT_EQ(shell.icons.back(), "pixels 11");
    EXPECT_EQ(shell.calls.back().data.icon, 999 + shell.icons.size());

    icon.SetAnimate(false);
    EXPECT_FALSE(icon.AnimationRunning());
    // Hiding and showing again keeps the frame the animation stopped on.
    icon.SetVisible(false);
    icon.SetVisible(true);
    EXPECT_EQ(shell.icons.back(), "pixels 11");
}

TEST_F(TrayIconTest, ABalloonTheShellTookAwayDoesNotComeBack)
{
    for (const std::uint32_t notification :
         {tray::kNinBalloonHide, tray::kNinBalloonTimeout, tray::kNinBalloonUserClick}) {
        tray::TTrayIcon icon(&form);
        icon.SetVisible(true);
        icon.SetBalloonHint("Done");
        icon.ShowBalloonTip();
        shell.Send(tray::kTrayCallbackMessage, 0, notification);
        icon.SetHint("Another tip");
        EXPECT_FALSE(shell.calls.back().data.flags & tray::kNifInfo) << notification;
        shell.procedures.clear();
    }
}

TEST_F(TrayIconTest, ClicksEndSessionAndExplorerRestart)
{
    tray::TTrayIcon icon(&form);
    // A left press without a handler leaves the click pending for the next release.
    shell.Send(tray::kTrayCallbackMessage, 0, tray::kWmLButtonDown);
    form.Bind(icon.onClick, "Clicked");
    form.Bind(icon.onDblClick, "DoubleClicked");
    shell.Send(tray::kTrayCallbackMessage, 0, tray::kWmLButtonUp);
    shell.Send(tray::kTrayCallbackMessage, 0, tray::kWmLButtonUp);
    shell.Send(tray::kTrayCallbackMessage, 0, tray::kWmRButtonDblClk);
    EXPECT_EQ(form.events, (std::vector<std::string>{"click", "double click"}));

    // Explorer restarting re-adds only a visible icon.
    shell.calls.clear();
    shell.Send(0xC123);
    EXPECT_TRUE(shell.calls.empty());
    icon.SetVisible(true);
    shell.calls.clear();
    shell.Send(0xC123);
    EXPECT_EQ(shell.Messages(), Messages{tray::nimAdd});

    EXPECT_EQ(shell.Send(tray::kWmQueryEndSession), 1);
    shell.calls.clear();
    shell.Send(tray::kWmEndSession, 0);
    shell.Send(tray::kWmEndSession, 1);
    EXPECT_EQ(shell.Messages(), Messages{tray::nimDelete});
}

// An icon directory with entries of the given widths and depths, each image 8 bytes behind it.
std::string IcoDirectory(const std::vector<std::pair<int, int>>& entries, std::uint32_t reach = 8)
{
    std::string file = Le16(0) + Le16(1) + Le16(static_cast<std::uint16_t>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const auto& [side, bits] : entries) {
        file += std::string{static_cast<char>(side & 0xFF), static_cast<char>(side & 0xFF), 0, 0};
        file += Le16(1) + Le16(static_cast<std::uint16_t>(bits)) + Le32(reach) + Le32(offset);
        offset += 8;
    }
    return file + std::string(8 * entries.size(), '\0');
}

TEST(IcoDirectory, PicksTheNearestSizeAndRefusesEntriesPastTheEnd)
{
    struct Case
    {
        const char* name;
        std::string file;
        int side;
        std::optional<int> width;  // of the image picked
        std::optional<int> bits;
    };
    const Case cases[] = {
        {"nearest", IcoDirectory({{32, 32}, {16, 8}, {48, 32}}), 16, 16, 8},
        {"deeper among equals", IcoDirectory({{16, 4}, {16, 32}}), 16, 16, 32},
        {"256 stored as 0", IcoDirectory({{0, 32}, {48, 32}}), 200, 256, 32},
        {"past the end", IcoDirectory({{16, 32}}, 9), 16, std::nullopt, std::nullopt},
        {"no entries", IcoDirectory({}), 16, std::nullopt, std::nullopt},
        {"cut directory", IcoDirectory({{16, 32}, {32, 32}}).substr(0, 30), 16, std::nullopt,
         std::nullopt},
        {"not an icon", Le16(0) + Le16(2) + Le16(1), 16, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto image = tray::PickIcoImage(c.file, c.side);
        ASSERT_EQ(image.has_value(), c.width.has_value()) << c.name;
        if (!image)
            continue;
        EXPECT_EQ(image->width, *c.width) << c.name;
        EXPECT_EQ(image->bitCount, *c.bits) << c.name;
        EXPECT_LE(image->offset + image->size, c.file.size()) << c.name;
    }
}

TEST(NotifyIconData, SizeFollowsTheBitness)
{
    EXPECT_EQ(tray::NotifyIconDataSize(4), 488u);
    EXPECT_EQ(tray::NotifyIconDataSize(8), 504u);
}

TEST_F(TrayIconTest, BalloonChoiceAndShellIcons)
{
    struct Case
    {
        bool useOwnInfo;
        int major;
        std::size_t textLength;
        bool custom;
    };
    const Case cases[] = {
        {false, 5, 200, false},
        {false, 5, 255, false},
        {false, 5, 256, true},
        {false, 5, 300, true},
        {true, 5, 10, true},
        {false, 4, 10, true},
    };
    for (const Case& c : cases) {
        tray::WindowsVersion version;
        version.major = c.major;
        EXPECT_EQ(tray::UseCustomBalloon(c.useOwnInfo, version, std::string(c.textLength, 'x')),
                  c.custom)
            << c.major << " " << c.textLength;
    }
    EXPECT_EQ(tray::ShellBalloonIcon(tray::niifError), tray::kNiifError);
    EXPECT_EQ(tray::ShellBalloonIcon(tray::niifInfo), tray::kNiifInfo);
    EXPECT_EQ(tray::ShellBalloonIcon(tray::niifNone), tray::kNiifNone);
    EXPECT_EQ(tray::ShellBalloonIcon(tray::niifWarning), tray::kNiifWarning);
    EXPECT_EQ(tray::ShellBalloonIcon(tray::niifApplication), tray::kNiifInfo);
}

TEST_F(TrayIconTest, ShellBalloonClosesTheCustomOneFirst)
{
    tray::TSxTrayIcon icon(&form);
    icon.SetTip("Setup");
    icon.SetActive(true);
    EXPECT_EQ(shell.calls.back().data.callbackMessage, 0xB05Au);
    form.Bind(icon.onBalloonShow, "BalloonShown");
    form.Bind(icon.onBalloonHide, "BalloonHidden");

    icon.infoTimeout = 12000;
    icon.ShowBalloonEx(std::string(300, 'x'), "Title", {}, tray::niifApplication);
    ASSERT_EQ(shell.windows.opened.size(), 1u);
    EXPECT_EQ(shell.windows.opened[0].request.timeoutSeconds, 12);
    EXPECT_EQ(shell.windows.opened[0].request.flags, tray::niifApplication);
    EXPECT_TRUE(shell.balloons.HasBalloon());

    shell.calls.clear();
    icon.ShowBalloonEx(std::string(200, 'y'), std::string(70, 'T'), {}, tray::niifApplication);
    EXPECT_FALSE(shell.balloons.HasBalloon());
    EXPECT_EQ(shell.windows.log, (std::vector<std::string>{"open", "close fade", "flush"}));
    // The shell's balloon is cleared, then shown.
    ASSERT_EQ(shell.Messages(), (Messages{tray::nimModify, tray::nimModify}));
    EXPECT_EQ(shell.calls[0].data.info, "");
    const tray::NotifyIconData& shown = shell.calls[1].data;
    EXPECT_EQ(shown.flags, tray::kNifInfo);
    EXPECT_EQ(shown.info, std::string(200, 'y'));
    EXPECT_EQ(shown.infoTitle, std::string(63, 'T'));
    EXPECT_EQ(shown.infoFlags, tray::kNiifInfo);
    EXPECT_EQ(shown.timeout, 12000u);
    EXPECT_EQ(form.events, (std::vector<std::string>{"balloon show", "balloon hide"}));
}

TEST_F(TrayIconTest, FailuresGoToTheHandlerWhichMayRetry)
{
    tray::TSxTrayIcon icon(&form);
    shell.refuse = true;
    icon.SetActive(true);  // no handler: ignored
    EXPECT_EQ(shell.calls.size(), 1u);
    form.Bind(icon.onFail, "Failed");
    icon.SetActive(false);
    EXPECT_EQ(form.events, std::vector<std::string>{"fail"});
    form.events.clear();
    shell.calls.clear();
    form.retriesLeft = 2;
    icon.SetActive(true);
    EXPECT_EQ(form.events, (std::vector<std::string>{"fail", "fail", "fail"}));
    EXPECT_EQ(shell.Messages(), (Messages{tray::nimAdd, tray::nimAdd, tray::nimAdd}));
}

TEST_F(TrayIconTest, SxCallbacksFireTheirEvents)
{
    tray::TSxTrayIcon icon(&form);
    form.Bind(icon.onClick, "Clicked");
    form.Bind(icon.onBalloonUserClick, "BalloonClicked");
    form.Bind(icon.onBalloonTimeout, "BalloonTimedOut");
    shell.Send(tray::kSxTrayCallbackMessage, 0, tray::kWmLButtonUp);  // no press before it
    shell.Send(tray::kSxTrayCallbackMessage, 0, tray::kWmLButtonDown);
    shell.Send(tray::kSxTrayCallbackMessage, 0, tray::kWmLButtonUp);
    shell.Send(tray::kSxTrayCallbackMessage, 0, tray::kNinBalloonTimeout);
    shell.Send(tray::kSxTrayCallbackMessage, 0, tray::kNinBalloonUserClick);
    EXPECT_EQ(form.events,
              (std::vector<std::string>{"click", "balloon timeout", "balloon click"}));
}

}  // namespace
}  // namespace setup::ui::testing
