#include "tests/support/tiny_7z_writer.h"

#include "standins/archive/crc32.h"

namespace standins::archive::testing {
namespace {

class Bytes
{
public:
    void Byte(std::uint8_t value) { m_bytes.push_back(value); }
    void Number(std::uint64_t value)
    {
        // Small values in one byte; the rest in the nine-byte form.
        if (value < 0x80) {
            Byte(static_cast<std::uint8_t>(value));
            return;
        }
        Byte(0xFF);
        Fixed(value, 8);
    }
    void Fixed(std::uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i) {
            Byte(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    void Append(const std::vector<std::uint8_t>& other)
    {
        m_bytes.insert(m_bytes.end(), other.begin(), other.end());
    }
    void Bits(const std::vector<bool>& bits)
    {
        for (std::size_t i = 0; i < bits.size(); i += 8) {
            std::uint8_t byte = 0;
            for (std::size_t b = 0; b < 8 && i + b < bits.size(); ++b) {
                byte |= bits[i + b] ? 0x80 >> b : 0;
            }
            Byte(byte);
        }
    }
    std::vector<std::uint8_t>& Data() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace

std::vector<std::uint8_t> WriteTiny7z(const std::vector<TinyEntry>& entries, TinyCrc crc)
{
    const bool onBlock = crc == TinyCrc::OnBlock || crc == TinyCrc::OnBlockWrong;
    const std::uint32_t damage = crc == TinyCrc::PerEntryWrong || crc == TinyCrc::OnBlockWrong;
    std::vector<std::uint8_t> packed;
    std::vector<const TinyEntry*> streams;
    std::vector<bool> emptyStream;
    std::vector<bool> emptyFile;
    for (const TinyEntry& entry : entries) {
        const bool hasData = !entry.isFolder && !entry.data.empty();
        emptyStream.push_back(!hasData);
        if (hasData) {
            streams.push_back(&entry);
            packed.insert(packed.end(), entry.data.begin(), entry.data.end());
        } else {
            emptyFile.push_back(!entry.isFolder);
        }
    }

    Bytes header;
    header.Byte(0x01);  // header
    if (!streams.empty()) {
        header.Byte(0x04);  // main streams
        header.Byte(0x06);  // pack info
        header.Number(0);
        header.Number(1);
        header.Byte(0x09);
        header.Number(packed.size());
        header.Byte(0x00);
        header.Byte(0x07);  // unpack info: one folder with the copy coder
        header.Byte(0x0B);
        header.Number(1);
        header.Byte(0);
        header.Number(1);
        header.Byte(0x01);
        header.Byte(0x00);
        header.Byte(0x0C);
        header.Number(packed.size());
        if (onBlock) {
            header.Byte(0x0A);
            header.Byte(1);
            header.Fixed(Crc32(packed.data(), packed.size()) ^ damage, 4);
        }
        header.Byte(0x00);
        header.Byte(0x08);  // substreams
        header.Byte(0x0D);
        header.Number(streams.size());
        header.Byte(0x09);
        for (std::size_t i = 0; i + 1 < streams.size(); ++i) {
            header.Number(streams[i]->data.size());
        }
        if (!onBlock || streams.size() > 1) {
            header.Byte(0x0A);
            header.Byte(1);
            for (const TinyEntry* entry : streams) {
                const auto* data = reinterpret_cast<const std::uint8_t*>(entry->data.data());
                header.Fixed(Crc32(data, entry->data.size()) ^ damage, 4);
            }
        }
        header.Byte(0x00);
        header.Byte(0x00);
    }
    header.Byte(0x05);  // files
    header.Number(entries.size());
    if (streams.size() != entries.size()) {
        Bytes bits;
        bits.Bits(emptyStream);
        header.Byte(0x0E);
        header.Number(bits.Data().size());
        header.Append(bits.Data());
        Bytes fileBits;
        fileBits.Bits(emptyFile);
        header.Byte(0x0F);
        header.Number(fileBits.Data().size());
        header.Append(fileBits.Data());
    }
    Bytes names;
    names.Byte(0);
    for (const TinyEntry& entry : entries) {
        for (char16_t unit : entry.name) {
            names.Fixed(unit, 2);
        }
        names.Fixed(0, 2);
    }
    header.Byte(0x11);
    header.Number(names.Data().size());
    header.Append(names.Data());
    header.Byte(0x00);
    header.Byte(0x00);

    Bytes start;
    start.Fixed(packed.size(), 8);
    start.Fixed(header.Data().size(), 8);
    start.Fixed(Crc32(header.Data().data(), header.Data().size()), 4);
    Bytes archive;
    for (std::uint8_t byte :
         std::initializer_list<std::uint8_t>{'7', 'z', 0xBC, 0xAF, 0x27, 0x1C, 0, 4}) {
        archive.Byte(byte);
    }
    archive.Fixed(Crc32(start.Data().data(), start.Data().size()), 4);
    archive.Append(start.Data());
    archive.Append(packed);
    archive.Append(header.Data());
    return std::move(archive.Data());
}

}  // namespace standins::archive::testing
