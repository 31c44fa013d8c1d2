// The picture control on the test session's display: hand-made GIF pictures, a bitmap whose size
// must not lose a pixel, and a bitmap resource of a language library.
#include "suite/common/tests/suite_test_support.h"
#include "suite/update/picture_control_win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace update {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A 4 x 3 screen, global table black and red, red background.
const Bytes kHead = Bytes{'G', 'I', 'F', '8', '9', 'a', 4, 0, 3, 0, 0x80, 1, 0, 0, 0, 0, 255, 0, 0};

Bytes Control(int disposal, int delay)
{
    return {
        0x21, 0xF9, 4, static_cast<std::uint8_t>(disposal << 2), static_cast<std::uint8_t>(delay),
        0,    0,    0};
}

// A whole-screen image of colour 1 (LZW, code size 2: clear, twelve 1s, end).
Bytes Image(int width, int height)
{
    return Bytes{0x2C, 0,
                 0,    0,
                 0,    static_cast<std::uint8_t>(width),
                 0,    static_cast<std::uint8_t>(height),
                 0,    0} +
           Bytes{2, 5, 0x8C, 0x2D, 0x99, 0x87, 0x2A, 0};
}

Bytes Bitmap(int size)
{
    const int stride = (size * 3 + 3) & ~3;
    Bytes pixels(static_cast<std::size_t>(stride * size), 0x80);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = size;
    info.biHeight = size;
    info.biPlanes = 1;
    info.biBitCount = 24;
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(54 + pixels.size()), 0, 0, 54};
    Bytes bytes(54);
    std::memcpy(bytes.data(), &file, 14);
    std::memcpy(bytes.data() + 14, &info, 40);
    return bytes + pixels;
}

class PictureControl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                     nullptr, nullptr);
        if (!m_parent)
            GTEST_SKIP() << "no display";
        m_control = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                      m_parent, nullptr, nullptr, nullptr);
        ASSERT_TRUE(m_picture.Attach(m_control));
    }
    void TearDown() override
    {
        if (m_parent)
            ::DestroyWindow(m_parent);
    }

    SIZE ClientSize() const
    {
        RECT r;
        ::GetClientRect(m_control, &r);
        return {r.right, r.bottom};
    }

    HWND m_parent = nullptr;
    HWND m_control = nullptr;
    CPictureEx m_picture;
};

TEST_F(PictureControl, StillAndAnimatedGifs)
{
    struct Case
    {
        const char* name;
        Bytes data;
        bool loads;
        int frames;
    };
    const Case cases[] = {
        {"one frame", kHead + Image(4, 3) + Bytes{0x3B}, true, 0},
        {"two frames",
         kHead + Control(2, 3) + Image(4, 3) + Control(0, 10) + Image(4, 3) + Bytes{0x3B}, true, 2},
        {"header only", kHead + Bytes{0x3B}, false, 0},
        {"junk", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_picture.Load(c.data), c.loads) << c.name;
        if (!c.loads)
            continue;
        EXPECT_TRUE(m_picture.IsGif()) << c.name;
        EXPECT_EQ(m_picture.FrameCount(), c.frames) << c.name;
        EXPECT_EQ(m_picture.Size().cx, 4);
        EXPECT_EQ(m_picture.Size().cy, 3);
        EXPECT_EQ(ClientSize().cx, 4);
        EXPECT_EQ(m_picture.Background(), RGB(255, 0, 0));
        m_picture.Draw();
        // Only an animation has a thread.
        EXPECT_EQ(m_picture.IsAnimating(), c.frames > 1) << c.name;
        m_picture.Stop();
        EXPECT_FALSE(m_picture.IsAnimating());
    }
}

TEST_F(PictureControl, BitmapSizeRoundsAndFollowsTheScale)
{
    const struct
    {
        float scale;
        int expected;
    } cases[] = {{1.0f, 20}, {1.5f, 30}};
    for (const auto& c : cases) {
        m_picture.SetScale({c.scale, c.scale});
        ASSERT_TRUE(m_picture.Load(Bitmap(20)));
        EXPECT_FALSE(m_picture.IsGif());
        EXPECT_EQ(m_picture.Size().cx, c.expected) << c.scale;
        EXPECT_EQ(m_picture.Size().cy, c.expected) << c.scale;
    }
}

TEST_F(PictureControl, LoadsAnImageOfTheLanguageLibrary)
{
    suite::testing::RedirectedRoot user(HKEY_CURRENT_USER);
    suite::testing::FixedLocator locator(suite::testing::LanguageFixtureFolder(L"three"), L"");
    suite::testing::RecordingMessages messages;
    suite::CVNTLanguageClient languages(
        locator, messages,
        {L"LingotextUpdate_*.dll", L"7.0.0.0", suite::LanguageLibraryUse::KeepLoaded});
    EXPECT_TRUE(LoadPicture(languages, m_picture, L"title_icon_down", RT_BITMAP, {1.0f, 1.0f}));
    EXPECT_EQ(m_picture.Size().cx, 48);
    EXPECT_FALSE(LoadPicture(languages, m_picture, L"nothing", RT_BITMAP, {1.0f, 1.0f}));
    EXPECT_EQ(messages.shown,
              std::vector<std::wstring>{L"Could not locate image in dll. (GetBitmapId)"});
}

}  // namespace
}  // namespace update
