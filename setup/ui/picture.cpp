#include "setup/ui/picture.h"

#include <cstring>
#include <span>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/class_builder.h"
#include "setup/htmlview/images/image_loader.h"
#include "setup/htmlview/images/jpeg_decoder.h"

namespace setup::ui {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

// Pixels a picture of a page may hold; more is taken as damage.
constexpr std::uint64_t kMaxPixelBytes = 64ull << 20;

std::uint32_t Le32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint16_t Le16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::span<const std::uint8_t> AsBytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

const ClassInfo& TGraphic::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TGraphic>("TGraphic", &forms::TPersistent::StaticClass()).Build();
    return info;
}

void TGraphic::LoadFromBytes(std::string file)
{
    std::pair<int, int> size{0, 0};
    if (!file.empty()) {
        const auto read = ReadSize(file);
        if (!read)
            throw rtl::EConvertError("Invalid " + ClassName() + " data");
        size = *read;
    }
    m_file = std::move(file);
    m_width = size.first;
    m_height = size.second;
    m_pixels.reset();
    m_decoded = false;
}

const htmlview::PixelImage* TGraphic::Pixels() const
{
    if (!m_decoded) {
        m_decoded = true;
        try {
            if (Format() == GraphicFormat::Bitmap)
                m_pixels = htmlview::LoadBmp(AsBytes(m_file), kMaxPixelBytes);
            else if (Format() == GraphicFormat::Jpeg)
                m_pixels = htmlview::DecodeJpeg(AsBytes(m_file), {.maxPixelBytes = kMaxPixelBytes});
        } catch (const std::exception&) {
            m_pixels.reset();
        }
    }
    return m_pixels ? &*m_pixels : nullptr;
}

std::string TGraphic::SaveData() const
{
    if (!SizePrefixed())
        return m_file;
    std::string data(4, '\0');
    const auto size = static_cast<std::uint32_t>(m_file.size());
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<char>(size >> (8 * i));
    return data + m_file;
}

void TGraphic::LoadData(std::string_view data)
{
    if (!SizePrefixed()) {
        LoadFromBytes(std::string(data));
        return;
    }
    if (data.size() < 4 || Le32(data, 0) > data.size() - 4)
        throw rtl::EConvertError("Invalid " + ClassName() + " data");
    LoadFromBytes(std::string(data.substr(4, Le32(data, 0))));
}

void TGraphic::Assign(const forms::TPersistent& source)
{
    const auto* graphic = dynamic_cast<const TGraphic*>(&source);
    if (!graphic || graphic->Format() != Format()) {
        TPersistent::Assign(source);
        return;
    }
    m_file = graphic->m_file;
    m_width = graphic->m_width;
    m_height = graphic->m_height;
    m_pixels.reset();
    m_decoded = false;
}

void TGraphic::DefineProperties(forms::PropertyDefiner& definer)
{
    definer.DefineBinaryProperty(
        "Data", [this](std::string_view bytes) { LoadData(bytes); },
        [this]() -> std::optional<std::string> {
            if (Empty())
                return std::nullopt;
            return SaveData();
        });
}

const ClassInfo& TBitmap::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TBitmap>("TBitmap", &TGraphic::StaticClass()).Build();
    return info;
}

std::optional<std::pair<int, int>> TBitmap::ReadSize(std::string_view file) const
{
    // File header (14 bytes), then an info header of 40 or more bytes or the 12-byte core header.
    if (file.size() < 26 || file.substr(0, 2) != "BM")
        return std::nullopt;
    const std::uint32_t headerSize = Le32(file, 14);
    if (headerSize == 12)
        return std::pair<int, int>{Le16(file, 18), Le16(file, 20)};
    if (headerSize < 40 || file.size() < 14 + 40)
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(Le32(file, 18));
    const auto height = static_cast<std::int32_t>(Le32(file, 22));
    if (width < 0 || height == INT32_MIN)
        return std::nullopt;
    return std::pair<int, int>{width, height < 0 ? -height : height};
}

const ClassInfo& TIcon::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TIcon>("TIcon", &TGraphic::StaticClass()).Build();
    return info;
}

std::optional<std::pair<int, int>> TIcon::ReadSize(std::string_view file) const
{
    // Icon directory: reserved 0, type 1 (icon), count, then 16-byte entries.
    if (file.size() < 6 + 16 || Le16(file, 0) != 0 || Le16(file, 2) != 1 || Le16(file, 4) == 0)
        return std::nullopt;
    if (file.size() < 6 + 16u * Le16(file, 4))
        return std::nullopt;
    const auto side = [&](std::size_t at) {
        const int value = static_cast<unsigned char>(file[at]);
        return value == 0 ? 256 : value;
    };
    return std::pair<int, int>{side(6), side(7)};
}

const ClassInfo& TMetafile::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TMetafile>("TMetafile", &TGraphic::StaticClass()).Build();
    return info;
}

std::optional<std::pair<int, int>> TMetafile::ReadSize(std::string_view file) const
{
    if (file.size() >= 88 && Le32(file, 0) == 1 && file.substr(40, 4) == " EMF") {
        // The enhanced header's bounds, inclusive, in device units.
        const auto left = static_cast<std::int32_t>(Le32(file, 8));
        const auto top = static_cast<std::int32_t>(Le32(file, 12));
        const auto right = static_cast<std::int32_t>(Le32(file, 16));
        const auto bottom = static_cast<std::int32_t>(Le32(file, 20));
        const long long width = static_cast<long long>(right) - left + 1;
        const long long height = static_cast<long long>(bottom) - top + 1;
        if (width < 0 || height < 0 || width > INT32_MAX || height > INT32_MAX)
            return std::nullopt;
        return std::pair<int, int>{static_cast<int>(width), static_cast<int>(height)};
    }
    if (file.size() >= 22 && Le32(file, 0) == 0x9AC6CDD7) {
        // Placeable header: bounds in units of the given units per inch.
        const auto left = static_cast<std::int16_t>(Le16(file, 6));
        const auto top = static_cast<std::int16_t>(Le16(file, 8));
        const auto right = static_cast<std::int16_t>(Le16(file, 10));
        const auto bottom = static_cast<std::int16_t>(Le16(file, 12));
        const int inch = Le16(file, 14);
        if (inch == 0)
            return std::nullopt;
        const auto pixels = [&](int units) { return units < 0 ? 0 : units * 96 / inch; };
        return std::pair<int, int>{pixels(right - left), pixels(bottom - top)};
    }
    // A plain Windows metafile has no size of its own.
    if (file.size() >= 18 && (Le16(file, 0) == 1 || Le16(file, 0) == 2) && Le16(file, 2) == 9)
        return std::pair<int, int>{0, 0};
    return std::nullopt;
}

const ClassInfo& TJPEGImage::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TJPEGImage>("TJPEGImage", &TGraphic::StaticClass()).Build();
    return info;
}

std::optional<std::pair<int, int>> TJPEGImage::ReadSize(std::string_view file) const
{
    if (file.size() < 4 || static_cast<unsigned char>(file[0]) != 0xFF ||
        static_cast<unsigned char>(file[1]) != 0xD8)
        return std::nullopt;
    // Walk the marker segments to the first frame header.
    std::size_t at = 2;
    while (at + 4 <= file.size()) {
        if (static_cast<unsigned char>(file[at]) != 0xFF)
            return std::nullopt;
        const int marker = static_cast<unsigned char>(file[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const std::size_t length = static_cast<unsigned char>(file[at + 2]) << 8 |
                                   static_cast<unsigned char>(file[at + 3]);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || at + 2 + length > file.size())
                return std::nullopt;
            const auto be16 = [&](std::size_t p) {
                return static_cast<unsigned char>(file[p]) << 8 |
                       static_cast<unsigned char>(file[p + 1]);
            };
            return std::pair<int, int>{be16(at + 7), be16(at + 5)};
        }
        if (length < 2)
            return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

const ClassInfo& TPicture::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TPicture>("TPicture", &forms::TPersistent::StaticClass()).Build();
    return info;
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    m_graphic = std::move(graphic);
    Changed();
}

void TPicture::Changed()
{
    if (OnChange)
        OnChange();
}

void TPicture::Assign(const forms::TPersistent& source)
{
    if (const auto* picture = dynamic_cast<const TPicture*>(&source)) {
        std::unique_ptr<TGraphic> copy;
        if (picture->m_graphic) {
            copy = CreateGraphic(picture->m_graphic->ClassName());
            copy->Assign(*picture->m_graphic);
        }
        SetGraphic(std::move(copy));
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(&source)) {
        auto copy = CreateGraphic(graphic->ClassName());
        copy->Assign(*graphic);
        SetGraphic(std::move(copy));
        return;
    }
    TPersistent::Assign(source);
}

void TPicture::DefineProperties(forms::PropertyDefiner& definer)
{
    definer.DefineBinaryProperty(
        "Data",
        [this](std::string_view bytes) {
            // A length byte and the graphic's class name, then the graphic's own data.
            if (bytes.empty() || static_cast<unsigned char>(bytes[0]) + 1u > bytes.size())
                throw rtl::EConvertError("Invalid picture data");
            const std::size_t nameLength = static_cast<unsigned char>(bytes[0]);
            const std::string_view className = bytes.substr(1, nameLength);
            auto graphic = CreateGraphic(className);
            if (!graphic)
                throw rtl::EConvertError("Unknown picture format " + std::string(className));
            graphic->LoadData(bytes.substr(1 + nameLength));
            SetGraphic(std::move(graphic));
        },
        [this]() -> std::optional<std::string> {
            if (!m_graphic || m_graphic->Empty())
                return std::nullopt;
            const std::string& name = m_graphic->ClassName();
            return std::string(1, static_cast<char>(name.size())) + name + m_graphic->SaveData();
        });
}

std::unique_ptr<TGraphic> CreateGraphic(std::string_view className)
{
    if (forms::SameName(className, "TBitmap"))
        return std::make_unique<TBitmap>();
    if (forms::SameName(className, "TIcon"))
        return std::make_unique<TIcon>();
    if (forms::SameName(className, "TMetafile"))
        return std::make_unique<TMetafile>();
    if (forms::SameName(className, "TJPEGImage"))
        return std::make_unique<TJPEGImage>();
    return nullptr;
}

}  // namespace setup::ui
