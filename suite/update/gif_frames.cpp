#include "suite/update/gif_frames.h"

#include <cstring>

namespace update {
namespace {

constexpr std::size_t kHeaderBytes = 13;

int Word(std::span<const std::uint8_t> data, std::size_t at)
{
    return data[at] | data[at + 1] << 8;
}

// The end of the sub-blocks starting at `at`, after their zero length; nothing when they run past
// the end.
std::optional<std::size_t> SkipSubBlocks(std::span<const std::uint8_t> data, std::size_t at)
{
    while (at < data.size()) {
        const std::size_t length = data[at];
        if (length == 0)
            return at + 1;
        at += 1 + length;
    }
    return std::nullopt;
}

std::size_t TableBytes(std::uint8_t packed)
{
    return (packed & 0x80) ? 3u * (1u << ((packed & 7) + 1)) : 0;
}

}  // namespace

bool IsGif(std::span<const std::uint8_t> data)
{
    return data.size() >= 6 && std::memcmp(data.data(), "GIF", 3) == 0 &&
           (std::memcmp(data.data() + 3, "87a", 3) == 0 ||
            std::memcmp(data.data() + 3, "89a", 3) == 0);
}

std::optional<GifScreen> ReadGifScreen(std::span<const std::uint8_t> data)
{
    if (!IsGif(data) || data.size() < kHeaderBytes)
        return std::nullopt;
    GifScreen screen;
    screen.width = Word(data, 6);
    screen.height = Word(data, 8);
    screen.globalTableBytes = TableBytes(data[10]);
    if (screen.globalTableBytes) {
        const std::size_t entry = kHeaderBytes + 3u * data[11];
        if (entry + 3 <= data.size() && entry + 3 <= kHeaderBytes + screen.globalTableBytes)
            screen.background = data[entry] | data[entry + 1] << 8 | data[entry + 2] << 16;
    }
    return screen;
}

std::vector<GifFrame> ReadGifFrames(std::span<const std::uint8_t> data)
{
    std::vector<GifFrame> frames;
    const auto screen = ReadGifScreen(data);
    if (!screen || kHeaderBytes + screen->globalTableBytes > data.size())
        return frames;
    const std::span<const std::uint8_t> head = data.first(kHeaderBytes + screen->globalTableBytes);

    std::size_t at = head.size();
    std::span<const std::uint8_t> control;  // the graphic control extension before the next image
    while (at < data.size()) {
        const std::uint8_t kind = data[at];
        std::optional<std::size_t> end;
        if (kind == 0x21 && at + 1 < data.size()) {
            const std::uint8_t label = data[at + 1];
            if (label == 0xFF)
                end = at + 14 <= data.size() ? SkipSubBlocks(data, at + 14) : std::nullopt;
            else if (label == 0xFE)
                end = SkipSubBlocks(data, at + 2);
            else if (label == 0x01)
                end = at + 15 <= data.size() ? SkipSubBlocks(data, at + 15) : std::nullopt;
            else if (label == 0xF9) {
                if (at + 8 <= data.size()) {
                    end = at + 8;
                    control = data.subspan(at, 8);
                }
            }
        } else if (kind == 0x2C) {
            if (at + 10 <= data.size()) {
                const std::size_t codeSize = at + 10 + TableBytes(data[at + 9]);
                if (codeSize < data.size())
                    end = SkipSubBlocks(data, codeSize + 1);
            }
            if (end) {
                GifFrame frame;
                frame.left = Word(data, at + 1);
                frame.top = Word(data, at + 3);
                frame.width = Word(data, at + 5);
                frame.height = Word(data, at + 7);
                if (!control.empty()) {
                    frame.disposal = (control[3] >> 2) & 7;
                    frame.delay = Word(control, 4);
                }
                frame.gif.assign(head.begin(), head.end());
                frame.gif.insert(frame.gif.end(), control.begin(), control.end());
                frame.gif.insert(frame.gif.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                                 data.begin() + static_cast<std::ptrdiff_t>(*end));
                frame.gif.push_back(0x3B);
                frames.push_back(std::move(frame));
                control = {};
            }
        } else if (kind == 0x3B) {
            break;
        }
        if (!end || *end > data.size())
            break;
        at = *end;
    }
    return frames;
}

int FrameDelayMs(int delay)
{
    return delay <= 4 ? 100 : delay * 10;
}

}  // namespace update
