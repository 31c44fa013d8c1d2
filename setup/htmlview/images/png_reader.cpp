#include "setup/htmlview/images/png_reader.h"

#include <zlib.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "setup/htmlview/util/win_math.h"

namespace htmlview {

const std::uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

namespace {

const char kCorrupted[] = "Can't read the PNG image, it has corrupted data. ";

[[noreturn]] void Fail(const std::string& message)
{
    throw PngError(message);
}

std::uint32_t BigEndian(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

struct Chunks
{
    std::vector<std::uint8_t> header;
    std::vector<std::uint8_t> palette;
    std::vector<std::uint8_t> transparency;
    std::vector<std::uint8_t> imageData;
    bool hasPalette = false;
    bool hasTransparency = false;
    bool hasImageData = false;
    bool hasGamma = false;
    std::uint32_t gamma = 0;
};

bool Known(const std::string& type)
{
    for (const char* name : {"IEND", "IHDR", "gAMA", "IDAT", "PLTE", "tEXt", "tRNS"})
        if (type == name)
            return true;
    return false;
}

Chunks ReadChunks(std::span<const std::uint8_t> data)
{
    if (data.size() < 8 || std::memcmp(data.data(), kPngSignature, 8) != 0)
        Fail("Invalid Portable Graphics Network image, it has an invalid file header.");
    Chunks chunks;
    std::size_t pos = 8;
    bool first = true;
    while (pos < data.size()) {
        if (data.size() - pos < 8)
            Fail(kCorrupted);
        const std::uint32_t length = BigEndian(&data[pos]);
        const std::string type(reinterpret_cast<const char*>(&data[pos + 4]), 4);
        if (first && type != "IHDR")
            Fail(
                "This PNG image is invalid, the IHDR chunk is either not present or it isn't "
                "the first chunk.");
        first = false;
        if (!Known(type) && type[0] >= 'A' && type[0] <= 'Z')
            Fail(
                "The currently being loaded image contains critical(s) chunk(s) not reconized "
                "by the decoder.");
        if (data.size() - pos - 8 < std::uint64_t{length} + 4)
            Fail(kCorrupted);
        const auto body = data.subspan(pos + 8, length);
        if (PngChunkCrc(data.subspan(pos + 4, std::size_t{length} + 4)) !=
            BigEndian(&data[pos + 8 + length]))
            Fail(kCorrupted);
        pos += std::size_t{length} + 12;
        if (type == "IHDR") {
            chunks.header.assign(body.begin(), body.end());
        } else if (type == "PLTE") {
            chunks.palette.assign(body.begin(), body.end());
            chunks.hasPalette = true;
        } else if (type == "tRNS") {
            chunks.transparency.assign(body.begin(), body.end());
            chunks.hasTransparency = true;
        } else if (type == "gAMA" && length >= 4) {
            chunks.gamma = BigEndian(body.data());
            chunks.hasGamma = true;
        } else if (type == "IDAT") {
            chunks.imageData.insert(chunks.imageData.end(), body.begin(), body.end());
            chunks.hasImageData = true;
        } else if (type == "IEND") {
            break;
        }
    }
    if (first)
        Fail(
            "This PNG image is invalid, the IHDR chunk is either not present or it isn't the "
            "first chunk.");
    if (!chunks.hasImageData)
        Fail("The current image being loaded has no data and could not be loaded.");
    return chunks;
}

// Inflates the image data on demand, one row at a time.
class Inflater
{
public:
    explicit Inflater(const std::vector<std::uint8_t>& data)
    {
        if (inflateInit(&m_stream) != Z_OK)
            Fail("zlib could not start");
        m_stream.next_in = const_cast<Bytef*>(data.data());
        m_stream.avail_in = static_cast<uInt>(data.size());
    }
    ~Inflater() { inflateEnd(&m_stream); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Fills the buffer completely or fails: stale or missing rows are never shown.
    void Read(std::uint8_t* out, std::size_t count)
    {
        m_stream.next_out = out;
        m_stream.avail_out = static_cast<uInt>(count);
        while (m_stream.avail_out > 0) {
            const int result = inflate(&m_stream, Z_NO_FLUSH);
            if (result < 0 && result != Z_BUF_ERROR)
                Fail(m_stream.msg ? m_stream.msg : zError(result));
            if (m_stream.avail_out > 0 && (result == Z_STREAM_END || result == Z_BUF_ERROR))
                Fail("The image data ends before the image is complete.");
        }
    }

private:
    z_stream m_stream{};
};

int Channels(int colorType)
{
    switch (colorType) {
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 1;
    }
}

std::uint64_t RowBytes(std::uint64_t width, int colorType, int depth)
{
    return (width * static_cast<std::uint64_t>(Channels(colorType) * depth) + 7) / 8;
}

}  // namespace

int PngPaeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

namespace {

void Unfilter(int filter, std::uint8_t* row, const std::uint8_t* previous, std::size_t length,
              std::size_t bpp)
{
    for (std::size_t i = 0; i < length; ++i) {
        const int a = i >= bpp ? row[i - bpp] : 0;
        const int b = previous[i];
        const int c = i >= bpp ? previous[i - bpp] : 0;
        int predictor;
        switch (filter) {
            case 0:
                return;
            case 1:
                predictor = a;
                break;
            case 2:
                predictor = b;
                break;
            case 3:
                predictor = (a + b) / 2;
                break;
            case 4:
                predictor = PngPaeth(a, b, c);
                break;
            default:
                Fail(
                    "The image could not be loaded because it uses an unknown set of filter "
                    "types.");
        }
        row[i] = static_cast<std::uint8_t>(row[i] + predictor);
    }
}

// Sample number i of a row at the given depth; the high byte at 16 bits.
int Sample(const std::uint8_t* row, std::size_t i, int depth)
{
    switch (depth) {
        case 16:
            return row[i * 2];
        case 8:
            return row[i];
        default: {
            const std::size_t bit = i * static_cast<std::size_t>(depth);
            return (row[bit / 8] >> (8 - depth - static_cast<int>(bit % 8))) & ((1 << depth) - 1);
        }
    }
}

struct Format
{
    int colorType = 0;
    int depth = 0;
    int bits = 0;  // bits per pixel of the result
    std::uint8_t gamma[256];
    bool correct = false;
};

void Transfer(const Format& f, const std::uint8_t* row, int count, int y, int x0, int dx,
              PixelImage& image)
{
    const int channels = Channels(f.colorType);
    for (int k = 0; k < count; ++k) {
        const int x = x0 + k * dx;
        const auto first = static_cast<std::size_t>(k) * static_cast<std::size_t>(channels);
        if (f.bits == 24) {
            Rgb c{static_cast<std::uint8_t>(Sample(row, first, f.depth)),
                  static_cast<std::uint8_t>(Sample(row, first + 1, f.depth)),
                  static_cast<std::uint8_t>(Sample(row, first + 2, f.depth))};
            if (f.correct)
                c = {f.gamma[c.red], f.gamma[c.green], f.gamma[c.blue]};
            image.SetColor(x, y, c);
        } else {
            image.SetIndex(x, y, Sample(row, first, f.depth));
        }
    }
}

Format ChooseFormat(const Chunks& chunks, int colorType, int depth, PixelImage& palette)
{
    Format f;
    f.colorType = colorType;
    f.depth = depth;
    const bool grey = colorType == 0 || colorType == 4;
    const bool validDepth =
        (colorType == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
        (colorType == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8)) ||
        ((colorType == 2 || colorType == 4 || colorType == 6) && (depth == 8 || depth == 16));
    if (!validDepth)
        Fail("Could not read the image because it has an unknown color type.");
    f.bits = colorType == 2 || colorType == 6 ? 24 : depth == 1 ? 1 : depth <= 4 ? 4 : 8;
    // A gamma of 0 would divide by zero: such a chunk is ignored.
    if (chunks.hasGamma && chunks.gamma > 0) {
        const double g = chunks.gamma / 100000.0;
        for (int i = 0; i < 256; ++i)
            f.gamma[i] = static_cast<std::uint8_t>(
                std::lround(255.0 * std::pow(i / 255.0, 1.0 / (g * 2.2))));
        f.correct = true;
    }
    auto correct = [&](int v) { return f.correct ? f.gamma[v] : static_cast<std::uint8_t>(v); };
    std::vector<Rgb> entries;
    if (grey) {
        const int count = depth == 16 ? 256 : 1 << depth;
        for (int i = 0; i < count && f.bits < 24; ++i) {
            const auto v = correct(MulDivWin(i, 255, count - 1));
            entries.push_back({v, v, v});
        }
    } else if (colorType == 3) {
        if (!chunks.hasPalette)
            Fail("The current image requeries a palette but it is not avaliable.");
        if (chunks.palette.size() % 3 != 0)
            Fail("The current image being loaded has an invalid palette!");
        for (std::size_t i = 0; i + 2 < chunks.palette.size() && i / 3 < 256; i += 3)
            entries.push_back({correct(chunks.palette[i]), correct(chunks.palette[i + 1]),
                               correct(chunks.palette[i + 2])});
    }
    // Indexes beyond the palette show black; 2-bit images use the four entries in 4-bit pixels.
    if (depth == 2)
        entries.resize(4);
    for (std::size_t i = 0; i < palette.palette.size(); ++i)
        palette.palette[i] = depth == 2 ? entries[i % 4] : i < entries.size() ? entries[i] : Rgb{};
    return f;
}

}  // namespace

PngError::PngError(const std::string& message)
    : ImageError("Portable Network Graphics format handler error\r\n\r\n" + message)
{}

std::uint32_t PngChunkCrc(std::span<const std::uint8_t> typeAndData)
{
    return static_cast<std::uint32_t>(
        crc32(0, typeAndData.data(), static_cast<uInt>(typeAndData.size())));
}

PngImage LoadPng(std::span<const std::uint8_t> data, const PngLimits& limits)
{
    const Chunks chunks = ReadChunks(data);
    if (chunks.header.size() < 13)
        Fail(
            "This PNG image is invalid, the IHDR chunk is either not present or it isn't the "
            "first chunk.");
    const std::uint32_t width = BigEndian(&chunks.header[0]);
    const std::uint32_t height = BigEndian(&chunks.header[4]);
    const int depth = chunks.header[8];
    const int colorType = chunks.header[9];
    const int interlace = chunks.header[12];
    if (width == 0 || height == 0 || width > limits.maxDimension || height > limits.maxDimension)
        Fail("The image size is out of range.");
    if (interlace > 1)
        Fail("The image has an unknown interlace method.");

    PngImage result;
    PixelImage& image = result.image;
    const int bits = colorType == 2 || colorType == 6 ? 24 : depth == 1 ? 1 : depth <= 4 ? 4 : 8;
    if (RowBytes(width, colorType, depth) * height > limits.maxPixelBytes)
        Fail("The image size is out of range.");
    image.Allocate(static_cast<int>(width), static_cast<int>(height), bits, limits.maxPixelBytes);
    const Format format = ChooseFormat(chunks, colorType, depth, image);

    Inflater inflater(chunks.imageData);
    const auto bpp = static_cast<std::size_t>(std::max(1, Channels(colorType) * depth / 8));
    const auto fullRow = static_cast<std::size_t>(RowBytes(width, colorType, depth));
    std::vector<std::uint8_t> current(fullRow + 1), previous(fullRow + 1);
    auto readPass = [&](int x0, int y0, int dx, int dy) {
        if (static_cast<std::uint32_t>(x0) >= width || static_cast<std::uint32_t>(y0) >= height)
            return;
        const int passWidth = static_cast<int>(
            (width - static_cast<std::uint32_t>(x0) + static_cast<std::uint32_t>(dx) - 1) /
            static_cast<std::uint32_t>(dx));
        const auto length = static_cast<std::size_t>(RowBytes(passWidth, colorType, depth));
        std::fill(previous.begin(), previous.end(), std::uint8_t{0});
        for (int y = y0; y < static_cast<int>(height); y += dy) {
            inflater.Read(current.data(), length + 1);
            Unfilter(current[0], current.data() + 1, previous.data() + 1, length, bpp);
            Transfer(format, current.data() + 1, passWidth, y, x0, dx, image);
            std::swap(current, previous);
        }
    };
    if (interlace == 0) {
        readPass(0, 0, 1, 1);
    } else {
        static constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
                                              {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2},
                                              {0, 1, 1, 2}};
        for (const auto& pass : kPasses)
            readPass(pass[0], pass[1], pass[2], pass[3]);
    }

    if (chunks.hasTransparency && colorType == 2 && chunks.transparency.size() >= 6) {
        const auto& t = chunks.transparency;
        const std::size_t at = depth == 16 ? 0 : 1;
        result.transparent = true;
        result.transparentColor = {t[at], t[2 + at], t[4 + at]};
    }
    return result;
}

}  // namespace htmlview
