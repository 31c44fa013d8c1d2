#include "setup/media/net/md4.h"

#include <cstring>

namespace net {

namespace {

std::uint32_t RotateLeft(std::uint32_t value, int count)
{
    return (value << count) | (value >> (32 - count));
}

std::uint32_t F(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (~x & z);
}
std::uint32_t G(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (x & z) | (y & z);
}
std::uint32_t H(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return x ^ y ^ z;
}

}  // namespace

Md4::Md4() : m_state{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476} {}

void Md4::Transform(const std::uint8_t* block)
{
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = static_cast<std::uint32_t>(block[4 * i]) |
               static_cast<std::uint32_t>(block[4 * i + 1]) << 8 |
               static_cast<std::uint32_t>(block[4 * i + 2]) << 16 |
               static_cast<std::uint32_t>(block[4 * i + 3]) << 24;
    }
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    static constexpr int kShifts1[4] = {3, 7, 11, 19};
    for (int i = 0; i < 16; ++i) {
        const std::uint32_t next = RotateLeft(a + F(b, c, d) + x[i], kShifts1[i % 4]);
        a = d, d = c, c = b, b = next;
    }
    static constexpr int kShifts2[4] = {3, 5, 9, 13};
    for (int i = 0; i < 16; ++i) {
        const int word = (i % 4) * 4 + i / 4;
        const std::uint32_t next =
            RotateLeft(a + G(b, c, d) + x[word] + 0x5A827999, kShifts2[i % 4]);
        a = d, d = c, c = b, b = next;
    }
    static constexpr int kShifts3[4] = {3, 9, 11, 15};
    static constexpr int kOrder3[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
    for (int i = 0; i < 16; ++i) {
        const std::uint32_t next =
            RotateLeft(a + H(b, c, d) + x[kOrder3[i]] + 0x6ED9EBA1, kShifts3[i % 4]);
        a = d, d = c, c = b, b = next;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void Md4::Update(std::string_view bytes)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::size_t size = bytes.size();
    std::size_t held = static_cast<std::size_t>(m_length % 64);
    m_length += size;
    while (size > 0) {
        const std::size_t take = size < 64 - held ? size : 64 - held;
        std::memcpy(m_buffer.data() + held, data, take);
        held += take;
        data += take;
        size -= take;
        if (held == 64) {
            Transform(m_buffer.data());
            held = 0;
        }
    }
}

Md4Digest Md4::Finish()
{
    const std::uint64_t bits = m_length * 8;
    const std::size_t held = static_cast<std::size_t>(m_length % 64);
    const std::size_t padding = held < 56 ? 56 - held : 120 - held;
    char tail[72] = {'\x80'};
    for (int i = 0; i < 8; ++i)
        tail[padding + i] = static_cast<char>(bits >> (8 * i));
    Update(std::string_view(tail, padding + 8));

    Md4Digest digest{};
    for (int i = 0; i < 16; ++i)
        digest[i] = static_cast<std::uint8_t>(m_state[i / 4] >> (8 * (i % 4)));
    *this = Md4();
    return digest;
}

Md4Digest Md4Of(std::string_view bytes)
{
    Md4 md4;
    md4.Update(bytes);
    return md4.Finish();
}

}  // namespace net
