// SHA-256 and AES-256-CBC decryption for encrypted archives, from the platform's cryptography:
// the system's provider on Windows, OpenSSL elsewhere.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace standins::archive {

using Sha256Digest = std::array<std::uint8_t, 32>;
using AesKey = std::array<std::uint8_t, 32>;
using AesBlock = std::array<std::uint8_t, 16>;

class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Update(const std::uint8_t* data, std::size_t size);
    Sha256Digest Finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Decrypts a stream in pieces whose sizes are multiples of the block size; the chaining goes on
// from one piece to the next.
class AesCbcDecryptor
{
public:
    AesCbcDecryptor(const AesKey& key, const AesBlock& iv);
    ~AesCbcDecryptor();
    AesCbcDecryptor(const AesCbcDecryptor&) = delete;
    AesCbcDecryptor& operator=(const AesCbcDecryptor&) = delete;

    void Decrypt(std::uint8_t* data, std::size_t size);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace standins::archive
