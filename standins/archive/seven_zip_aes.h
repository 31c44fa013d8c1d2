// The 7z AES coder: its properties (key stretching, salt, initial vector), the key derived from
// the password, and the password an archive asks for, fetched once and kept with its keys.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "standins/archive/archive_crypto.h"

namespace standins::archive {

inline const std::vector<std::uint8_t> kAesCoderId = {0x06, 0xF1, 0x07, 0x01};

// Power 0x3F: the key is salt and password as they stand, with no hashing.
inline constexpr unsigned kNoKeyStretching = 0x3F;
// 7-Zip writes 19; more than this would take minutes to derive.
inline constexpr unsigned kMaxCyclesPower = 24;

struct AesCoderProperties
{
    unsigned cyclesPower = 0;
    std::vector<std::uint8_t> salt;
    AesBlock iv{};
};

// Throws ArchiveError (CannotOpen) for properties that do not read.
AesCoderProperties ParseAesProperties(const std::vector<std::uint8_t>& properties);

// SHA-256 over 2^power rounds of salt, UTF-16LE password and a 64-bit round counter.
AesKey DeriveAesKey(const AesCoderProperties& properties, const std::u16string& password);

class ArchivePassword
{
public:
    // `fetch` is asked once, when the first encrypted coder needs it; none: no password.
    explicit ArchivePassword(std::function<std::optional<std::u16string>()> fetch = {})
        : m_fetch(std::move(fetch))
    {}

    // Throws ArchiveError (CannotOpen) when there is no password to ask for.
    AesKey KeyFor(const AesCoderProperties& properties);

private:
    std::function<std::optional<std::u16string>()> m_fetch;
    std::optional<std::u16string> m_password;
    bool m_fetched = false;
    std::map<std::pair<unsigned, std::vector<std::uint8_t>>, AesKey> m_keys;
};

}  // namespace standins::archive
