#include "standins/archive/folder_decoder.h"

#include "standins/archive/archive_error.h"
#include "standins/archive/seven_zip_aes.h"

#include <lzma.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace standins::archive {
namespace {

constexpr std::size_t kInputChunk = 1 << 16;

const std::vector<std::uint8_t> kCopyId = {0x00};
const std::vector<std::uint8_t> kLzmaId = {0x03, 0x01, 0x01};
const std::vector<std::uint8_t> kLzma2Id = {0x21};
const std::vector<std::uint8_t> kX86Id = {0x03, 0x03, 0x01, 0x03};

[[noreturn]] void ThrowUnsupported(const char* what)
{
    throw ArchiveError(ErrorCode::CannotOpen, std::string("unsupported archive: ") + what);
}

// Options that lzma_properties_decode allocated, freed with the filter array.
struct FilterChain
{
    std::array<lzma_filter, LZMA_FILTERS_MAX + 1> filters{};
    std::size_t count = 0;

    FilterChain() { filters[0].id = LZMA_VLI_UNKNOWN; }
    ~FilterChain()
    {
        for (std::size_t i = 0; i < count; ++i) {
            std::free(filters[i].options);
        }
    }
    void Add(lzma_vli id, const std::vector<std::uint8_t>& properties)
    {
        if (count == LZMA_FILTERS_MAX) {
            ThrowUnsupported("too many coders");
        }
        lzma_filter filter{id, nullptr};
        if (lzma_properties_decode(&filter, nullptr, properties.data(), properties.size()) !=
            LZMA_OK) {
            ThrowUnsupported("coder properties");
        }
        filters[count++] = filter;
        filters[count].id = LZMA_VLI_UNKNOWN;
    }
};

// The liblzma filter for a coder; LZMA_VLI_UNKNOWN for the stored (copy) coder.
lzma_vli FilterIdFor(const Coder& coder)
{
    if (coder.id == kCopyId) {
        return LZMA_VLI_UNKNOWN;
    }
    if (coder.id == kLzmaId) {
        return LZMA_FILTER_LZMA1;
    }
    if (coder.id == kLzma2Id) {
        return LZMA_FILTER_LZMA2;
    }
    if (coder.id == kX86Id) {
        return LZMA_FILTER_X86;
    }
    ThrowUnsupported("coder method");
}

}  // namespace

std::uint32_t BoundedDictionarySize(std::uint32_t requested, std::uint64_t output)
{
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(requested, std::max<std::uint64_t>(output, LZMA_DICT_SIZE_MIN)));
}

void CheckCoders(const Folder& folder)
{
    const std::vector<const Coder*> chain = CoderChain(folder);
    for (std::size_t i = 0; i < chain.size(); ++i) {
        // Decryption comes first, straight from the packed stream.
        if (i == 0 && chain[i]->id == kAesCoderId) {
            ParseAesProperties(chain[i]->properties);
            continue;
        }
        FilterIdFor(*chain[i]);
    }
}

struct FolderDecoder::LzmaState
{
    lzma_stream stream = LZMA_STREAM_INIT;
    bool ended = false;
    ~LzmaState() { lzma_end(&stream); }
};

std::vector<const Coder*> CoderChain(const Folder& folder)
{
    for (const Coder& coder : folder.coders) {
        if (coder.inStreams != 1 || coder.outStreams != 1) {
            ThrowUnsupported("coder with several streams");
        }
    }
    // With one stream each way per coder, coder i owns in and out stream i.
    if (folder.packedStreams.size() != 1) {
        ThrowUnsupported("several packed streams");
    }
    std::vector<const Coder*> chain;
    std::uint64_t current = folder.packedStreams[0];
    while (chain.size() <= folder.coders.size()) {
        if (current >= folder.coders.size()) {
            ThrowUnsupported("coder chain");
        }
        chain.push_back(&folder.coders[static_cast<std::size_t>(current)]);
        const auto next =
            std::find_if(folder.bindPairs.begin(), folder.bindPairs.end(),
                         [&](const BindPair& pair) { return pair.outIndex == current; });
        if (next == folder.bindPairs.end()) {
            break;
        }
        current = next->inIndex;
    }
    if (chain.size() != folder.coders.size()) {
        ThrowUnsupported("coders outside the chain");
    }
    return chain;
}

FolderDecoder::FolderDecoder(IByteSource& source, std::uint64_t packOffset, std::uint64_t packSize,
                             const Folder& folder, ArchivePassword* password)
    : m_source(source),
      m_packOffset(packOffset),
      m_packRemaining(packSize),
      m_outputRemaining(folder.UnpackSize())
{
    CheckCoders(folder);
    std::vector<const Coder*> chain = CoderChain(folder);
    if (chain.front()->id == kAesCoderId) {
        const AesCoderProperties properties = ParseAesProperties(chain.front()->properties);
        if (password == nullptr) {
            throw ArchiveError(ErrorCode::CannotOpen, "the archive needs a password");
        }
        if (packSize % 16 != 0) {
            throw ArchiveError(ErrorCode::DataCorrupt, "encrypted data is not whole blocks");
        }
        m_aes = std::make_unique<AesCbcDecryptor>(password->KeyFor(properties), properties.iv);
        chain.erase(chain.begin());
    }
    // liblzma lists filters in encoding order: the reverse of the decoding chain.
    FilterChain filters;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Coder& coder = **it;
        const lzma_vli id = FilterIdFor(coder);
        if (id == LZMA_VLI_UNKNOWN) {
            continue;
        }
        filters.Add(id, coder.properties);
        if (id == LZMA_FILTER_LZMA1 || id == LZMA_FILTER_LZMA2) {
            auto* options =
                static_cast<lzma_options_lzma*>(filters.filters[filters.count - 1].options);
            const std::uint64_t output =
                folder.unpackSizes.at(static_cast<std::size_t>(&coder - folder.coders.data()));
            options->dict_size = BoundedDictionarySize(options->dict_size, output);
        }
        if (id == LZMA_FILTER_LZMA1) {
            // Stored LZMA data has no end mark; liblzma needs the size to end the stream, and
            // filters before it only flush their last bytes at that end.
            lzma_filter& filter = filters.filters[filters.count - 1];
            auto* options = static_cast<lzma_options_lzma*>(filter.options);
            const std::uint64_t size = folder.UnpackSize();
            options->ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
            options->ext_size_low = static_cast<std::uint32_t>(size);
            options->ext_size_high = static_cast<std::uint32_t>(size >> 32);
            filter.id = LZMA_FILTER_LZMA1EXT;
        }
    }
    if (filters.count == 0) {
        if (packSize < m_outputRemaining) {
            throw ArchiveError(ErrorCode::DataCorrupt, "stored block shorter than its data");
        }
        return;
    }
    m_lzma = std::make_unique<LzmaState>();
    if (lzma_raw_decoder(&m_lzma->stream, filters.filters.data()) != LZMA_OK) {
        ThrowUnsupported("coder chain");
    }
}

FolderDecoder::~FolderDecoder() = default;

void FolderDecoder::FillInput()
{
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(kInputChunk, m_packRemaining));
    m_input.resize(chunk);
    if (chunk != 0 && !m_source.ReadAt(m_packOffset, m_input.data(), chunk)) {
        throw ArchiveError(ErrorCode::DataCorrupt, "packed data beyond the end of the file");
    }
    if (m_aes) {
        m_aes->Decrypt(m_input.data(), m_input.size());
    }
    m_inputUsed = 0;
    m_packOffset += chunk;
    m_packRemaining -= chunk;
}

std::size_t FolderDecoder::Read(std::uint8_t* buffer, std::size_t size)
{
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, m_outputRemaining));
    if (wanted == 0) {
        return 0;
    }
    if (!m_lzma && m_aes) {
        if (m_inputUsed == m_input.size()) {
            if (m_packRemaining == 0) {
                throw ArchiveError(ErrorCode::DataCorrupt,
                                   "stored data beyond the end of the file");
            }
            FillInput();
        }
        const std::size_t chunk = std::min(wanted, m_input.size() - m_inputUsed);
        std::copy_n(m_input.begin() + static_cast<std::ptrdiff_t>(m_inputUsed), chunk, buffer);
        m_inputUsed += chunk;
        m_outputRemaining -= chunk;
        return chunk;
    }
    if (!m_lzma) {
        const std::size_t chunk = std::min(wanted, kInputChunk);
        if (!m_source.ReadAt(m_packOffset, buffer, chunk)) {
            throw ArchiveError(ErrorCode::DataCorrupt, "stored data beyond the end of the file");
        }
        m_packOffset += chunk;
        m_outputRemaining -= chunk;
        return chunk;
    }
    lzma_stream& stream = m_lzma->stream;
    stream.next_out = buffer;
    stream.avail_out = wanted;
    while (stream.avail_out == wanted) {
        if (m_lzma->ended) {
            throw ArchiveError(ErrorCode::DataCorrupt, "packed data ends early");
        }
        if (stream.avail_in == 0 && m_packRemaining != 0) {
            FillInput();
            stream.next_in = m_input.data();
            stream.avail_in = m_input.size();
        }
        const lzma_action action = m_packRemaining == 0 ? LZMA_FINISH : LZMA_RUN;
        const std::size_t inBefore = stream.avail_in;
        const lzma_ret result = lzma_code(&stream, action);
        if (result == LZMA_STREAM_END) {
            m_lzma->ended = true;
        } else if (result != LZMA_OK) {
            throw ArchiveError(ErrorCode::DataCorrupt, "packed data is damaged");
        } else if (stream.avail_out == wanted && stream.avail_in == inBefore &&
                   m_packRemaining == 0) {
            throw ArchiveError(ErrorCode::DataCorrupt, "packed data ends early");
        }
    }
    const std::size_t produced = wanted - stream.avail_out;
    m_outputRemaining -= produced;
    return produced;
}

void FolderDecoder::Skip(std::uint64_t count)
{
    std::vector<std::uint8_t> scratch(
        static_cast<std::size_t>(std::min<std::uint64_t>(count, kInputChunk)));
    while (count != 0) {
        const std::size_t got =
            Read(scratch.data(),
                 static_cast<std::size_t>(std::min<std::uint64_t>(count, scratch.size())));
        if (got == 0) {
            throw ArchiveError(ErrorCode::DataCorrupt, "block shorter than its entries");
        }
        count -= got;
    }
}

}  // namespace standins::archive
