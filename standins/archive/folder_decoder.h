// Streaming decoder of one 7z folder: its chain of stored, LZMA, LZMA2 and x86 (BCJ) coders run
// through liblzma, after AES decryption when the folder is encrypted, read a chunk at a time so
// large blocks never sit in memory whole.
#pragma once

#include "standins/archive/archive_crypto.h"
#include "standins/archive/byte_source.h"
#include "standins/archive/seven_zip_header.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace standins::archive {

class ArchivePassword;

class FolderDecoder
{
public:
    // Throws ArchiveError (CannotOpen) for coders it does not know, and for an encrypted folder
    // without a password.
    FolderDecoder(IByteSource& source, std::uint64_t packOffset, std::uint64_t packSize,
                  const Folder& folder, ArchivePassword* password = nullptr);
    ~FolderDecoder();
    FolderDecoder(const FolderDecoder&) = delete;
    FolderDecoder& operator=(const FolderDecoder&) = delete;

    // Fills up to size bytes and returns how many; 0 only when the folder's data is complete.
    // Damaged or short packed data throws ArchiveError (DataCorrupt).
    std::size_t Read(std::uint8_t* buffer, std::size_t size);
    // Reads and drops count bytes.
    void Skip(std::uint64_t count);

private:
    struct LzmaState;

    void FillInput();

    IByteSource& m_source;
    std::uint64_t m_packOffset;
    std::uint64_t m_packRemaining;
    std::uint64_t m_outputRemaining;
    std::vector<std::uint8_t> m_input;
    std::size_t m_inputUsed = 0;  // of m_input, by a stored encrypted folder
    std::unique_ptr<AesCbcDecryptor> m_aes;
    std::unique_ptr<LzmaState> m_lzma;  // none for a stored folder
};

// The coder chain of a folder in decoding order (from the packed stream to the folder's data);
// throws ArchiveError (CannotOpen) for a folder that is not a simple chain.
std::vector<const Coder*> CoderChain(const Folder& folder);
// The LZMA dictionary to allocate for a coder: liblzma allocates it whole up front and damaged
// properties may ask for gigabytes, but data never refers back further than the coder's output.
std::uint32_t BoundedDictionarySize(std::uint32_t requested, std::uint64_t output);
// Throws ArchiveError (CannotOpen) unless every coder of the folder can be decoded (decryption
// only straight from the packed stream).
void CheckCoders(const Folder& folder);

}  // namespace standins::archive
