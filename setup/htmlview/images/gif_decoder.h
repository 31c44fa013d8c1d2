// Decodes a GIF87a/GIF89a stream: the logical screen, colour tables, extensions and every frame's
// LZW-coded pixels (one colour index per pixel, top row first).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "setup/htmlview/images/pixel_image.h"

namespace htmlview {

// A format error; the message is "TGif: " and the text of its code.
class GifError : public ImageError
{
public:
    GifError(int code, const std::string& text);
    int Code() const { return m_code; }

private:
    int m_code;
};

// Error codes the decoder raises.
enum GifErrorCode : int
{
    kGifBadSignature = 1,
    kGifNoColorTable = 2,
    kGifUnknownBlock = 4,
    kGifBadExtensionSize = 5,
    kGifSpecialMessage = 6,
    kGifBadExtensionTerminator = 7,
    kGifBadCodeSize = 12,
    kGifBadLzwData = 13,
    kGifFrameOutOfRange = 15,
    kGifNoImage = 18,
    kGifUnexpectedEnd = 24,
    kGifTooLarge = 25,
    kGifOutOfMemory = 100,
};

// Bounds on what one GIF may make us allocate; tests and fuzzing lower them.
struct GifLimits
{
    std::uint64_t maxFramePixels = 100'000'000;  // all frames' pixel bytes together
    int maxFrames = 5000;
    std::uint64_t maxStripBytes = 200'000'000;
    std::uint64_t maxMaskedStripBytes = 100'000'000;
};

struct GifSubBlock
{
    std::vector<std::uint8_t> bytes;
};

struct GifExtension
{
    int label = 0;
    // Graphic control.
    int disposal = 0;  // bits 2 to 4 of the packed byte
    bool userInput = false;
    bool transparentFlag = false;
    int delay = 0;  // hundredths of a second
    int transparentIndex = 0;
    // Plain text grid (kept, never drawn).
    std::array<int, 8> textGrid{};
    // Application.
    std::string identifier;
    std::string authentication;
    std::vector<GifSubBlock> data;
};

struct GifFrame
{
    int left = 0, top = 0, width = 0, height = 0;
    bool localTable = false;
    bool interlaced = false;
    bool sorted = false;
    int colorTable = -1;  // index into GifFile::colorTables
    int minCodeSize = 0;
    std::vector<GifExtension> extensions;
    std::vector<std::uint8_t> pixels;  // width * height colour indexes

    // The last graphic control extension before the frame, if any.
    const GifExtension* GraphicControl() const;
};

struct GifFile
{
    std::string signature = "------";
    int screenWidth = 0;
    int screenHeight = 0;
    bool globalTable = false;
    int colorResolution = 0;
    bool sorted = false;
    int globalTableSize = 0;
    int backgroundIndex = 0;
    int aspectRatio = 0;
    int globalTableIndex = -1;
    std::vector<std::vector<Rgb>> colorTables;
    std::vector<GifFrame> frames;
    int loopCount = -1;  // set by a NETSCAPE application extension

    const GifFrame& Frame(int index) const;  // GifError 15 outside the list
    // Hundredths of a second; at least 1.
    int Delay(int index) const;
    // 0 to 3; 0 without a graphic control extension.
    int Disposal(int index) const;
    // -1 without a transparent flag.
    int TransparentIndex(int index) const;
    bool AnyTransparent() const;
};

GifFile LoadGif(std::span<const std::uint8_t> data, const GifLimits& limits = {});

}  // namespace htmlview
