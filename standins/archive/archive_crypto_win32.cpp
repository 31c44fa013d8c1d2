#include <windows.h>

#include <bcrypt.h>

#include <algorithm>
#include <type_traits>
#include <vector>

#include "standins/archive/archive_crypto.h"
#include "standins/archive/archive_error.h"

namespace standins::archive {

namespace {

[[noreturn]] void CryptoFailure(const char* what)
{
    throw ArchiveError(ErrorCode::General, what);
}

// The provider's functions, bound by name: the library must load on systems without it, where
// only encrypted archives cannot be read.
struct BcryptFunctions
{
    decltype(&::BCryptOpenAlgorithmProvider) OpenAlgorithmProvider = nullptr;
    decltype(&::BCryptCloseAlgorithmProvider) CloseAlgorithmProvider = nullptr;
    decltype(&::BCryptCreateHash) CreateHash = nullptr;
    decltype(&::BCryptHashData) HashData = nullptr;
    decltype(&::BCryptFinishHash) FinishHash = nullptr;
    decltype(&::BCryptDestroyHash) DestroyHash = nullptr;
    decltype(&::BCryptSetProperty) SetProperty = nullptr;
    decltype(&::BCryptGenerateSymmetricKey) GenerateSymmetricKey = nullptr;
    decltype(&::BCryptDecrypt) Decrypt = nullptr;
    decltype(&::BCryptDestroyKey) DestroyKey = nullptr;
};

const BcryptFunctions& Bcrypt()
{
    static const BcryptFunctions functions = [] {
        BcryptFunctions bound;
        const HMODULE library = ::LoadLibraryA("bcrypt.dll");
        if (library == nullptr)
            return bound;
        const auto bind = [library](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                reinterpret_cast<void*>(::GetProcAddress(library, name)));
        };
        bind(bound.OpenAlgorithmProvider, "BCryptOpenAlgorithmProvider");
        bind(bound.CloseAlgorithmProvider, "BCryptCloseAlgorithmProvider");
        bind(bound.CreateHash, "BCryptCreateHash");
        bind(bound.HashData, "BCryptHashData");
        bind(bound.FinishHash, "BCryptFinishHash");
        bind(bound.DestroyHash, "BCryptDestroyHash");
        bind(bound.SetProperty, "BCryptSetProperty");
        bind(bound.GenerateSymmetricKey, "BCryptGenerateSymmetricKey");
        bind(bound.Decrypt, "BCryptDecrypt");
        bind(bound.DestroyKey, "BCryptDestroyKey");
        const bool complete = bound.OpenAlgorithmProvider && bound.CloseAlgorithmProvider &&
                              bound.CreateHash && bound.HashData && bound.FinishHash &&
                              bound.DestroyHash && bound.SetProperty &&
                              bound.GenerateSymmetricKey && bound.Decrypt && bound.DestroyKey;
        return complete ? bound : BcryptFunctions{};
    }();
    return functions;
}

void Check(NTSTATUS status, const char* what)
{
    if (status < 0)
        CryptoFailure(what);
}

class Provider
{
public:
    Provider(const wchar_t* algorithm, const char* what)
    {
        if (Bcrypt().OpenAlgorithmProvider == nullptr)
            CryptoFailure(what);
        Check(Bcrypt().OpenAlgorithmProvider(&handle, algorithm, nullptr, 0), what);
    }
    ~Provider()
    {
        if (handle != nullptr)
            Bcrypt().CloseAlgorithmProvider(handle, 0);
    }
    Provider(const Provider&) = delete;
    Provider& operator=(const Provider&) = delete;

    BCRYPT_ALG_HANDLE handle = nullptr;
};

}  // namespace

struct Sha256::State
{
    Provider provider{BCRYPT_SHA256_ALGORITHM, "SHA-256 is not available"};
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~State()
    {
        if (hash != nullptr)
            Bcrypt().DestroyHash(hash);
    }
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    Check(Bcrypt().CreateHash(m_state->provider.handle, &m_state->hash, nullptr, 0, nullptr, 0, 0),
          "SHA-256 is not available");
}

Sha256::~Sha256() = default;

void Sha256::Update(const std::uint8_t* data, std::size_t size)
{
    Check(Bcrypt().HashData(m_state->hash, const_cast<PUCHAR>(data), static_cast<ULONG>(size), 0),
          "SHA-256 failed");
}

Sha256Digest Sha256::Finish()
{
    Sha256Digest digest{};
    Check(Bcrypt().FinishHash(m_state->hash, digest.data(), static_cast<ULONG>(digest.size()), 0),
          "SHA-256 failed");
    return digest;
}

struct AesCbcDecryptor::State
{
    Provider provider{BCRYPT_AES_ALGORITHM, "AES is not available"};
    BCRYPT_KEY_HANDLE key = nullptr;
    AesBlock iv{};
    ~State()
    {
        if (key != nullptr)
            Bcrypt().DestroyKey(key);
    }
};

AesCbcDecryptor::AesCbcDecryptor(const AesKey& key, const AesBlock& iv)
    : m_state(std::make_unique<State>())
{
    m_state->iv = iv;
    Check(
        Bcrypt().SetProperty(m_state->provider.handle, BCRYPT_CHAINING_MODE,
                             reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC)),
                             sizeof(BCRYPT_CHAIN_MODE_CBC), 0),
        "AES is not available");
    AesKey secret = key;
    Check(Bcrypt().GenerateSymmetricKey(m_state->provider.handle, &m_state->key, nullptr, 0,
                                        secret.data(), static_cast<ULONG>(secret.size()), 0),
          "AES is not available");
}

AesCbcDecryptor::~AesCbcDecryptor() = default;

void AesCbcDecryptor::Decrypt(std::uint8_t* data, std::size_t size)
{
    if (size % 16 != 0)
        throw ArchiveError(ErrorCode::DataCorrupt, "encrypted data is not whole blocks");
    if (size == 0)
        return;
    // The chaining value of the next piece is this piece's last encrypted block; it is kept
    // here rather than relying on the provider to update the one it is handed.
    AesBlock next{};
    std::copy(data + size - next.size(), data + size, next.begin());
    AesBlock iv = m_state->iv;
    std::vector<std::uint8_t> plain(size);
    ULONG written = 0;
    Check(Bcrypt().Decrypt(m_state->key, data, static_cast<ULONG>(size), nullptr, iv.data(),
                           static_cast<ULONG>(iv.size()), plain.data(),
                           static_cast<ULONG>(plain.size()), &written, 0),
          "AES decryption failed");
    if (written != size)
        CryptoFailure("AES decryption failed");
    std::copy(plain.begin(), plain.end(), data);
    m_state->iv = next;
}

}  // namespace standins::archive
