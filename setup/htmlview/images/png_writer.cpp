#include "setup/htmlview/images/png_writer.h"

#include <zlib.h>

#include <cstdlib>
#include <string>

#include "setup/htmlview/images/png_reader.h"

namespace htmlview {
namespace {

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void WriteChunk(std::vector<std::uint8_t>& out, const char* type,
                const std::vector<std::uint8_t>& data)
{
    PutBig(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig(out, PngChunkCrc({out.data() + start, out.size() - start}));
}

std::vector<std::uint8_t> Filtered(int filter, const std::vector<std::uint8_t>& row,
                                   const std::vector<std::uint8_t>& previous, std::size_t bpp)
{
    std::vector<std::uint8_t> out(row.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
        const int a = i >= bpp ? row[i - bpp] : 0;
        const int b = previous[i];
        const int c = i >= bpp ? previous[i - bpp] : 0;
        const int predictor = filter == 1   ? a
                              : filter == 2 ? b
                              : filter == 3 ? (a + b) / 2
                              : filter == 4 ? PngPaeth(a, b, c)
                                            : 0;
        out[i] = static_cast<std::uint8_t>(row[i] - predictor);
    }
    return out;
}

// Positions whose byte repeats each of the four bytes before it: a rough measure of how well the
// row will compress.
int Repeats(const std::vector<std::uint8_t>& bytes)
{
    int count = 0;
    for (std::size_t i = 4; i < bytes.size(); ++i)
        if (bytes[i] == bytes[i - 1] && bytes[i] == bytes[i - 2] && bytes[i] == bytes[i - 3] &&
            bytes[i] == bytes[i - 4])
            ++count;
    return count;
}

}  // namespace

int ChoosePngFilter(const std::vector<std::uint8_t>& row, const std::vector<std::uint8_t>& previous,
                    int bytesPerPixel, unsigned filters)
{
    int best = 0;
    int bestCount = 0;
    if ((filters & ~1u) == 0)
        return 0;
    for (int filter = 0; filter <= 4; ++filter) {
        if (filter != 0 && !(filters & (1u << filter)))
            continue;
        const int count =
            Repeats(Filtered(filter, row, previous, static_cast<std::size_t>(bytesPerPixel)));
        if (count > bestCount) {
            best = filter;
            bestCount = count;
        }
    }
    return best;
}

std::vector<std::uint8_t> SavePng(const PixelImage& image, const Rgb* transparentColor,
                                  unsigned filters)
{
    const bool paletted = image.bitsPerPixel <= 8;
    const int depth = paletted ? image.bitsPerPixel : 8;
    std::vector<std::uint8_t> out(kPngSignature, kPngSignature + 8);

    std::vector<std::uint8_t> header;
    PutBig(header, static_cast<std::uint32_t>(image.width));
    PutBig(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {static_cast<std::uint8_t>(depth),
                                 static_cast<std::uint8_t>(paletted ? 3 : 2), 0, 0, 0});
    WriteChunk(out, "IHDR", header);
    if (paletted) {
        std::vector<std::uint8_t> palette;
        for (std::size_t i = 0; i < (std::size_t{1} << depth); ++i) {
            const Rgb c = i < image.palette.size() ? image.palette[i] : Rgb{};
            palette.insert(palette.end(), {c.red, c.green, c.blue});
        }
        WriteChunk(out, "PLTE", palette);
    }
    if (transparentColor) {
        const Rgb& c = *transparentColor;
        WriteChunk(out, "tRNS", {0, c.red, 0, c.green, 0, c.blue});
    }

    const std::size_t rowBytes =
        paletted ? (static_cast<std::size_t>(image.width) * static_cast<std::size_t>(depth) + 7) / 8
                 : static_cast<std::size_t>(image.width) * 3;
    const int bpp = paletted ? 1 : 3;
    std::vector<std::uint8_t> raw;
    std::vector<std::uint8_t> previous(rowBytes, 0), row(rowBytes);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* source = image.Row(y);
        for (std::size_t i = 0; i < rowBytes; ++i)
            row[i] = source[i];
        if (!paletted)
            for (std::size_t i = 0; i + 2 < rowBytes; i += 3)
                std::swap(row[i], row[i + 2]);
        const int filter = ChoosePngFilter(row, previous, bpp, filters);
        raw.push_back(static_cast<std::uint8_t>(filter));
        const auto filtered = Filtered(filter, row, previous, static_cast<std::size_t>(bpp));
        raw.insert(raw.end(), filtered.begin(), filtered.end());
        previous = row;
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        throw PngError("The image could not be compressed.");
    packed.resize(packedSize);
    WriteChunk(out, "IDAT", packed);
    WriteChunk(out, "IEND", {});
    return out;
}

}  // namespace htmlview
