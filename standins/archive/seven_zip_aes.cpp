#include "standins/archive/seven_zip_aes.h"

#include <algorithm>

#include "standins/archive/archive_error.h"

namespace standins::archive {

namespace {

[[noreturn]] void BadProperties(const char* what)
{
    throw ArchiveError(ErrorCode::CannotOpen, std::string("encrypted coder: ") + what);
}

}  // namespace

AesCoderProperties ParseAesProperties(const std::vector<std::uint8_t>& properties)
{
    AesCoderProperties parsed;
    if (properties.empty())
        BadProperties("no properties");
    const std::uint8_t first = properties[0];
    parsed.cyclesPower = first & 0x3F;
    if (parsed.cyclesPower > kMaxCyclesPower && parsed.cyclesPower != kNoKeyStretching)
        BadProperties("key stretching beyond reason");
    if ((first & 0xC0) == 0) {
        if (properties.size() != 1)
            BadProperties("properties too long");
        return parsed;
    }
    if (properties.size() < 2)
        BadProperties("properties too short");
    const std::size_t saltSize = ((first >> 7) & 1) + (properties[1] >> 4);
    const std::size_t ivSize = ((first >> 6) & 1) + (properties[1] & 0x0F);
    if (properties.size() != 2 + saltSize + ivSize)
        BadProperties("properties of the wrong size");
    parsed.salt.assign(properties.begin() + 2,
                       properties.begin() + 2 + static_cast<std::ptrdiff_t>(saltSize));
    std::copy_n(properties.begin() + 2 + static_cast<std::ptrdiff_t>(saltSize), ivSize,
                parsed.iv.begin());
    return parsed;
}

AesKey DeriveAesKey(const AesCoderProperties& properties, const std::u16string& password)
{
    std::vector<std::uint8_t> unit = properties.salt;
    for (const char16_t c : password) {
        unit.push_back(static_cast<std::uint8_t>(c & 0xFF));
        unit.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    AesKey key{};
    if (properties.cyclesPower == kNoKeyStretching) {
        std::copy_n(unit.begin(), std::min(unit.size(), key.size()), key.begin());
        return key;
    }
    // Many rounds per call: the rounds are small and each call into the provider costs.
    const std::size_t prefix = unit.size();
    const std::size_t roundSize = prefix + 8;
    const std::uint64_t rounds = std::uint64_t{1} << properties.cyclesPower;
    const std::uint64_t perBatch = std::max<std::uint64_t>(1, 65536 / roundSize);
    std::vector<std::uint8_t> batch;
    batch.reserve(static_cast<std::size_t>(perBatch * roundSize));
    Sha256 hash;
    for (std::uint64_t round = 0; round < rounds; ++round) {
        batch.insert(batch.end(), unit.begin(), unit.end());
        for (int byte = 0; byte < 8; ++byte)
            batch.push_back(static_cast<std::uint8_t>(round >> (8 * byte)));
        if (batch.size() >= perBatch * roundSize || round + 1 == rounds) {
            hash.Update(batch.data(), batch.size());
            batch.clear();
        }
    }
    return hash.Finish();
}

AesKey ArchivePassword::KeyFor(const AesCoderProperties& properties)
{
    if (!m_fetched) {
        m_fetched = true;
        if (m_fetch)
            m_password = m_fetch();
    }
    if (!m_password)
        throw ArchiveError(ErrorCode::CannotOpen, "the archive needs a password");
    const auto id = std::make_pair(properties.cyclesPower, properties.salt);
    const auto known = m_keys.find(id);
    if (known != m_keys.end())
        return known->second;
    return m_keys[id] = DeriveAesKey(properties, *m_password);
}

}  // namespace standins::archive
