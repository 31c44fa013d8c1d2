#include "setup/ui/picture.h"

#include <gtest/gtest.h>

#include <cstring>

#include "setup/engine/rtl/exceptions.h"
#include "setup/htmlview/tests/image_fixtures.h"
#include "setup/ui/canvas.h"
#include "setup/ui/tests/graphic_files.h"
#include "setup/ui/tests/recording_fakes.h"

namespace setup::ui {
namespace {

using namespace testing;

std::string JpegFile(int width, int height)
{
    const auto bytes =
        htmlview::fixtures::EncodeJpeg(width, height, {255, 0, 0}, {0, 0, 255}, false);
    return {bytes.begin(), bytes.end()};
}

// Picture.Data as a form file stores it.
std::string PictureData(const std::string& className, const std::string& graphicData)
{
    return std::string(1, static_cast<char>(className.size())) + className + graphicData;
}

class CapturingDefiner final : public forms::PropertyDefiner
{
public:
    void DefineProperty(std::string_view name, ReadValue read, WriteValue write) override
    {
        this->read = std::move(read);
        this->write = std::move(write);
    }
    ReadValue read;
    WriteValue write;
};

TEST(Picture, ReadsEveryFormatFromItsDataAndWritesTheSameBytes)
{
    struct Case
    {
        const char* className;
        std::string file;
        bool prefixed;
        int width;
        int height;
    };
    const Case cases[] = {
        {"TBitmap", BmpFile(5, 3), true, 5, 3},
        {"TIcon", IcoFile(32), false, 32, 32},
        {"TIcon", IcoFile(256), false, 256, 256},
        {"TMetafile", EmfFile(40, 20), true, 40, 20},
        {"TMetafile", PlaceableWmf(1440, 720, 1440), true, 96, 48},
        {"TJPEGImage", JpegFile(9, 7), true, 9, 7},
    };
    for (const Case& c : cases) {
        const std::string graphicData =
            c.prefixed ? Le32(static_cast<std::uint32_t>(c.file.size())) + c.file : c.file;
        const std::string data = PictureData(c.className, graphicData);
        TPicture picture;
        CapturingDefiner definer;
        picture.DefineProperties(definer);
        definer.read(forms::FormValue::Data(data));
        ASSERT_NE(picture.Graphic(), nullptr) << c.className;
        EXPECT_EQ(picture.Graphic()->ClassName(), c.className);
        EXPECT_EQ(picture.Width(), c.width) << c.className;
        EXPECT_EQ(picture.Height(), c.height) << c.className;
        EXPECT_EQ(picture.Graphic()->FileBytes(), c.file);
        const auto written = definer.write();
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(written->bytes, data) << c.className;
    }
}

TEST(Picture, RefusesDamagedData)
{
    const std::string bmp = BmpFile(2, 2);
    const std::string cases[] = {
        "",                                                       // no class name
        std::string(1, '\x20') + "TBitmap",                       // name longer than the data
        PictureData("TGifImage", Le32(0)),                        // unknown class
        PictureData("TBitmap", Le32(1000) + bmp),                 // size past the end
        PictureData("TBitmap", Le32(4) + "ABCD"),                 // not a BMP
        PictureData("TJPEGImage", Le32(4) + "\xFF\xD8\xFF\xD9"),  // no frame header
        PictureData("TIcon", std::string("\0\0\2\0\1\0", 6) + std::string(16, '\x10')),  // cursor
    };
    for (const std::string& data : cases) {
        TPicture picture;
        CapturingDefiner definer;
        picture.DefineProperties(definer);
        EXPECT_THROW(definer.read(forms::FormValue::Data(data)), rtl::Exception) << data.size();
        EXPECT_EQ(picture.Graphic(), nullptr);
    }
}

TEST(Picture, DrawsBitmapsAndJpegsAsPixelsAndSkipsWhatDoesNotDecode)
{
    testing::RecordingDevice device;
    TCanvas canvas(&device);
    TBitmap bitmap;
    bitmap.LoadFromBytes(BmpFile(4, 2));
    canvas.StretchDraw(TRect::Bounds(1, 2, 8, 4), bitmap);
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(JpegFile(8, 8));
    canvas.StretchDraw(TRect::Bounds(0, 0, 8, 8), jpeg);
    // A header that reads but pixels that do not decode draw nothing.
    TJPEGImage broken;
    std::string truncated = JpegFile(8, 8);
    truncated.resize(truncated.size() / 2);
    broken.LoadFromBytes(truncated);
    canvas.StretchDraw(TRect::Bounds(0, 0, 8, 8), broken);
    TIcon icon;
    icon.LoadFromBytes(IcoFile(16));
    canvas.StretchDraw(TRect::Bounds(0, 0, 16, 16), icon);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"image 1,2,9,6 4x2", "image 0,0,8,8 8x8",
                                                      "icon 0,0,16,16"}));
}

}  // namespace
}  // namespace setup::ui
