#include <openssl/evp.h>

#include "standins/archive/archive_crypto.h"
#include "standins/archive/archive_error.h"

namespace standins::archive {

namespace {

[[noreturn]] void CryptoFailure(const char* what)
{
    throw ArchiveError(ErrorCode::General, what);
}

}  // namespace

struct Sha256::State
{
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    if (m_state->context == nullptr ||
        EVP_DigestInit_ex(m_state->context, EVP_sha256(), nullptr) != 1)
        CryptoFailure("SHA-256 is not available");
}

Sha256::~Sha256() = default;

void Sha256::Update(const std::uint8_t* data, std::size_t size)
{
    if (EVP_DigestUpdate(m_state->context, data, size) != 1)
        CryptoFailure("SHA-256 failed");
}

Sha256Digest Sha256::Finish()
{
    Sha256Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(m_state->context, digest.data(), &length) != 1 ||
        length != digest.size())
        CryptoFailure("SHA-256 failed");
    return digest;
}

struct AesCbcDecryptor::State
{
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    ~State() { EVP_CIPHER_CTX_free(context); }
};

AesCbcDecryptor::AesCbcDecryptor(const AesKey& key, const AesBlock& iv)
    : m_state(std::make_unique<State>())
{
    if (m_state->context == nullptr || EVP_DecryptInit_ex(m_state->context, EVP_aes_256_cbc(),
                                                          nullptr, key.data(), iv.data()) != 1)
        CryptoFailure("AES is not available");
    // The archive pads its data itself.
    EVP_CIPHER_CTX_set_padding(m_state->context, 0);
}

AesCbcDecryptor::~AesCbcDecryptor() = default;

void AesCbcDecryptor::Decrypt(std::uint8_t* data, std::size_t size)
{
    int written = 0;
    if (size % 16 != 0 ||
        EVP_DecryptUpdate(m_state->context, data, &written, data, static_cast<int>(size)) != 1 ||
        static_cast<std::size_t>(written) != size)
        throw ArchiveError(ErrorCode::DataCorrupt, "encrypted data is not whole blocks");
}

}  // namespace standins::archive
