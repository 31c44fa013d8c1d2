#include "setup/htmlview/images/gif_decoder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "setup/htmlview/images/gif_lzw.h"

namespace htmlview {
namespace {

std::string ErrorText(int code)
{
    switch (code) {
        case kGifBadSignature:
            return "Invalid GIF Signature Code";
        case kGifNoColorTable:
            return "No Local or Global Color Table for Image";
        case kGifUnknownBlock:
            return "Unknown Graphics Operation Code";
        case kGifBadExtensionSize:
            return "Invalid Extension Block Size";
        case kGifBadExtensionTerminator:
            return "Invalid Extension Block Terminator";
        case kGifFrameOutOfRange:
            return "Value Out Of Range";
        case kGifNoImage:
            return "No Image Description";
        case kGifUnexpectedEnd:
            return "Unexpected end of file";
        case kGifTooLarge:
            return "Animated GIF too large";
        case kGifOutOfMemory:
            return "Out of memory";
        default:
            return "next message";
    }
}

[[noreturn]] void Fail(int code)
{
    throw GifError(code, ErrorText(code));
}

class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> data) : m_data(data) {}

    bool AtEnd() const { return m_pos >= m_data.size(); }
    // A block byte; 0 once the input is exhausted.
    int PeekBlockByte() { return AtEnd() ? 0 : m_data[m_pos++]; }
    int Byte()
    {
        if (AtEnd())
            Fail(kGifUnexpectedEnd);
        return m_data[m_pos++];
    }
    int Word()
    {
        const int low = Byte();
        return low | (Byte() << 8);
    }
    std::span<const std::uint8_t> Bytes(std::size_t count)
    {
        if (m_data.size() - m_pos < count)
            Fail(kGifUnexpectedEnd);
        auto bytes = m_data.subspan(m_pos, count);
        m_pos += count;
        return bytes;
    }
    std::string Text(std::size_t count)
    {
        const auto bytes = Bytes(count);
        return std::string(bytes.begin(), bytes.end());
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

std::vector<GifSubBlock> ReadSubBlocks(Reader& in)
{
    std::vector<GifSubBlock> blocks;
    for (int length = in.Byte(); length != 0; length = in.Byte()) {
        const auto bytes = in.Bytes(static_cast<std::size_t>(length));
        blocks.push_back({{bytes.begin(), bytes.end()}});
    }
    return blocks;
}

int ReadColorTable(Reader& in, int count, GifFile& gif)
{
    std::vector<Rgb> table(static_cast<std::size_t>(count));
    for (Rgb& entry : table) {
        entry.red = static_cast<std::uint8_t>(in.Byte());
        entry.green = static_cast<std::uint8_t>(in.Byte());
        entry.blue = static_cast<std::uint8_t>(in.Byte());
    }
    gif.colorTables.push_back(std::move(table));
    return static_cast<int>(gif.colorTables.size()) - 1;
}

void ReadExtension(Reader& in, GifFile& gif, std::vector<GifExtension>& pending)
{
    GifExtension ext;
    ext.label = in.Byte();
    switch (ext.label) {
        case 0xF9: {
            if (in.Byte() != 4)
                Fail(kGifBadExtensionSize);
            const int packed = in.Byte();
            ext.disposal = (packed >> 2) & 7;
            ext.userInput = (packed & 2) != 0;
            ext.transparentFlag = (packed & 1) != 0;
            ext.delay = in.Word();
            ext.transparentIndex = in.Byte();
            if (in.Byte() != 0)
                Fail(kGifBadExtensionTerminator);
            break;
        }
        case 0xFE:
            ext.data = ReadSubBlocks(in);
            break;
        case 0x01:
            if (in.Byte() != 12)
                Fail(kGifBadExtensionSize);
            for (int i = 0; i < 4; ++i)
                ext.textGrid[static_cast<std::size_t>(i)] = in.Word();
            for (int i = 4; i < 8; ++i)
                ext.textGrid[static_cast<std::size_t>(i)] = in.Byte();
            ext.data = ReadSubBlocks(in);
            break;
        case 0xFF:
            if (in.Byte() != 11)
                Fail(kGifBadExtensionSize);
            ext.identifier = in.Text(8);
            ext.authentication = in.Text(3);
            ext.data = ReadSubBlocks(in);
            if (ext.identifier == "NETSCAPE" && !ext.data.empty() && ext.data[0].bytes.size() == 3)
                gif.loopCount = ext.data[0].bytes[1] | (ext.data[0].bytes[2] << 8);
            break;
        default: {
            char label[8];
            std::snprintf(label, sizeof label, "%04X", static_cast<unsigned>(ext.label));
            throw GifError(kGifSpecialMessage, std::string("unknown extension: ") + label);
        }
    }
    pending.push_back(std::move(ext));
}

void ReadImage(Reader& in, GifFile& gif, std::vector<GifExtension>& pending,
               const GifLimits& limits, std::uint64_t& pixelBytes)
{
    if (static_cast<int>(gif.frames.size()) >= limits.maxFrames)
        Fail(kGifTooLarge);
    GifFrame frame;
    frame.extensions = std::move(pending);
    pending.clear();
    frame.left = in.Word();
    frame.top = in.Word();
    frame.width = in.Word();
    frame.height = in.Word();
    const int packed = in.Byte();
    frame.localTable = (packed & 0x80) != 0;
    frame.interlaced = (packed & 0x40) != 0;
    frame.sorted = (packed & 0x20) != 0;
    if (frame.localTable)
        frame.colorTable = ReadColorTable(in, 2 << (packed & 7), gif);
    else if (gif.globalTableIndex >= 0)
        frame.colorTable = gif.globalTableIndex;
    else
        Fail(kGifNoColorTable);
    frame.minCodeSize = in.Byte();
    std::vector<std::uint8_t> codes;
    for (int length = in.Byte(); length != 0; length = in.Byte()) {
        const auto bytes = in.Bytes(static_cast<std::size_t>(length));
        codes.insert(codes.end(), bytes.begin(), bytes.end());
    }
    const std::uint64_t size =
        static_cast<std::uint64_t>(frame.width) * static_cast<std::uint64_t>(frame.height);
    if (size == 0 || pixelBytes + size > limits.maxFramePixels)
        Fail(kGifOutOfMemory);
    pixelBytes += size;
    frame.pixels.assign(static_cast<std::size_t>(size), 0);
    DecodeGifLzw(codes, frame.minCodeSize, frame.interlaced, frame.width, frame.height,
                 frame.pixels);
    gif.frames.push_back(std::move(frame));
}

}  // namespace

GifError::GifError(int code, const std::string& text) : ImageError("TGif: " + text), m_code(code) {}

const GifExtension* GifFrame::GraphicControl() const
{
    for (auto it = extensions.rbegin(); it != extensions.rend(); ++it)
        if (it->label == 0xF9)
            return &*it;
    return nullptr;
}

const GifFrame& GifFile::Frame(int index) const
{
    if (index < 0 || index >= static_cast<int>(frames.size()))
        Fail(kGifFrameOutOfRange);
    return frames[static_cast<std::size_t>(index)];
}

int GifFile::Delay(int index) const
{
    const GifExtension* control = Frame(index).GraphicControl();
    return control && control->delay > 0 ? control->delay : 1;
}

int GifFile::Disposal(int index) const
{
    const GifExtension* control = Frame(index).GraphicControl();
    return control ? control->disposal & 3 : 0;
}

int GifFile::TransparentIndex(int index) const
{
    const GifExtension* control = Frame(index).GraphicControl();
    return control && control->transparentFlag ? control->transparentIndex : -1;
}

bool GifFile::AnyTransparent() const
{
    for (int i = 0; i < static_cast<int>(frames.size()); ++i)
        if (TransparentIndex(i) >= 0)
            return true;
    return false;
}

GifFile LoadGif(std::span<const std::uint8_t> data, const GifLimits& limits)
{
    GifFile gif;
    Reader in(data);
    std::string signature = in.Text(6);
    for (char& c : signature)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (signature != "GIF87A" && signature != "GIF89A")
        Fail(kGifBadSignature);
    gif.signature = signature;
    gif.screenWidth = in.Word();
    gif.screenHeight = in.Word();
    const int packed = in.Byte();
    gif.globalTable = (packed & 0x80) != 0;
    gif.colorResolution = ((packed >> 4) & 7) + 1;
    gif.sorted = (packed & 0x08) != 0;
    gif.globalTableSize = 2 << (packed & 7);
    gif.backgroundIndex = in.Byte();
    gif.aspectRatio = in.Byte();
    if (gif.globalTable)
        gif.globalTableIndex = ReadColorTable(in, gif.globalTableSize, gif);

    std::vector<GifExtension> pending;
    std::uint64_t pixelBytes = 0;
    for (;;) {
        const int block = in.PeekBlockByte();
        if (block == 0 || block == 0x3B)
            break;
        if (block == 0x2C)
            ReadImage(in, gif, pending, limits, pixelBytes);
        else if (block == 0x21)
            ReadExtension(in, gif, pending);
        else
            Fail(kGifUnknownBlock);
    }
    if (gif.frames.empty())
        Fail(kGifNoImage);
    return gif;
}

}  // namespace htmlview
