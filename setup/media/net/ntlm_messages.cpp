#include "setup/media/net/ntlm_messages.h"

#include "setup/media/net/base64.h"
#include "setup/media/net/des.h"
#include "setup/media/net/md4.h"

namespace net {

namespace {

constexpr std::string_view kSignature("NTLMSSP\0", 8);
constexpr std::uint32_t kNegotiateFlags = 0x8207;
constexpr std::uint32_t kNegotiateDomainGiven = 0x1000;
constexpr std::uint32_t kNegotiateHostGiven = 0x2000;
constexpr std::uint32_t kResponseFlags = 0x8205;
constexpr std::size_t kNegotiateHeaderSize = 32;
constexpr std::size_t kResponseHeaderSize = 64;

void Put16(std::string& out, std::size_t at, std::size_t value)
{
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::size_t at, std::size_t value)
{
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, (value >> 16) & 0xFFFF);
}

// A field descriptor: length, length again, offset of the bytes from the message start.
void PutField(std::string& out, std::size_t at, std::size_t length, std::size_t offset)
{
    Put16(out, at, length);
    Put16(out, at + 2, length);
    Put32(out, at + 4, offset);
}

std::uint32_t Get16(std::string_view in, std::size_t at)
{
    return static_cast<std::uint8_t>(in[at]) | static_cast<std::uint8_t>(in[at + 1]) << 8;
}

std::uint32_t Get32(std::string_view in, std::size_t at)
{
    return Get16(in, at) | Get16(in, at + 2) << 16;
}

std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// Each byte followed by a zero byte: the 16-bit text the response message carries.
std::string Widen(std::string_view text)
{
    std::string wide;
    for (const char c : text) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

// Seven key bytes spread over eight DES key bytes, seven bits each.
DesBlock DesKeyFrom56Bits(const std::uint8_t* seven)
{
    DesBlock key{};
    key[0] = seven[0];
    for (int i = 1; i < 7; ++i)
        key[i] = static_cast<std::uint8_t>((seven[i - 1] << (8 - i)) | (seven[i] >> i));
    key[7] = static_cast<std::uint8_t>(seven[6] << 1);
    return key;
}

// A 16-byte key padded to 21 bytes, its three 7-byte parts encrypting the challenge.
std::string ThreeKeyResponse(const std::array<std::uint8_t, 16>& key16,
                             const NtlmChallengeBytes& challenge)
{
    std::uint8_t key21[21] = {};
    for (int i = 0; i < 16; ++i)
        key21[i] = key16[i];
    std::string response;
    for (int part = 0; part < 3; ++part) {
        const DesBlock cipher = DesEncryptBlock(DesKeyFrom56Bits(key21 + 7 * part), challenge);
        response.append(reinterpret_cast<const char*>(cipher.data()), cipher.size());
    }
    return response;
}

std::u16string ReadWide(std::string_view bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(Get16(bytes, i));
    return text;
}

// The bytes a field descriptor at `at` names, or nothing when they lie outside the message.
std::string_view FieldBytes(std::string_view message, std::size_t at)
{
    if (at + 8 > message.size())
        return {};
    const std::size_t length = Get16(message, at);
    const std::size_t offset = Get32(message, at + 4);
    if (offset > message.size() || length > message.size() - offset)
        return {};
    return message.substr(offset, length);
}

}  // namespace

std::string NtlmLmResponse(std::string_view password, const NtlmChallengeBytes& challenge)
{
    std::uint8_t key14[14] = {};
    const std::string upper = UpperAscii(password.substr(0, 14));
    for (std::size_t i = 0; i < upper.size(); ++i)
        key14[i] = static_cast<std::uint8_t>(upper[i]);
    static constexpr DesBlock kLmConstant = {'K', 'G', 'S', '!', '@', '#', '$', '%'};
    std::array<std::uint8_t, 16> hash{};
    for (int half = 0; half < 2; ++half) {
        const DesBlock part = DesEncryptBlock(DesKeyFrom56Bits(key14 + 7 * half), kLmConstant);
        for (int i = 0; i < 8; ++i)
            hash[8 * half + i] = part[i];
    }
    return ThreeKeyResponse(hash, challenge);
}

std::string NtlmNtResponse(std::string_view password, const NtlmChallengeBytes& challenge)
{
    return ThreeKeyResponse(Md4Of(Widen(password)), challenge);
}

std::string BuildNtlmNegotiate(std::string_view host, std::string_view domain)
{
    std::string message(kNegotiateHeaderSize, '\0');
    message.replace(0, kSignature.size(), kSignature);
    Put32(message, 8, 1);
    std::uint32_t flags = kNegotiateFlags;
    if (!host.empty())
        flags |= kNegotiateHostGiven;
    if (!domain.empty())
        flags |= kNegotiateDomainGiven;
    Put32(message, 12, flags);
    PutField(message, 16, domain.size(), kNegotiateHeaderSize + host.size());
    PutField(message, 24, host.size(), kNegotiateHeaderSize);
    message += UpperAscii(host);
    message += UpperAscii(domain);
    return EncodeBase64(message);
}

NtlmChallengeInfo ReadNtlmChallenge(std::string_view base64)
{
    NtlmChallengeInfo info;
    const std::string message = DecodeBase64(base64);
    if (message.empty())
        return info;
    info.received = true;
    const std::string_view view(message);
    info.targetName = ReadWide(FieldBytes(view, 12));
    if (view.size() >= 32) {
        for (int i = 0; i < 8; ++i)
            info.challenge[i] = static_cast<std::uint8_t>(view[24 + i]);
    }
    // Pairs of type and length, each followed by that many bytes, up to a pair 0/0 or the end.
    std::string_view list = FieldBytes(view, 40);
    while (list.size() >= 4) {
        const std::uint32_t type = Get16(list, 0);
        const std::size_t length = Get16(list, 2);
        if (type == 0 && length == 0)
            break;
        const std::string_view value = list.substr(4, length);
        if (type == 1)
            info.serverName = ReadWide(value);
        else if (type == 2)
            info.domainName = ReadWide(value);
        list.remove_prefix(4 + value.size());
    }
    return info;
}

std::string BuildNtlmResponse(std::string_view domain, std::string_view host, std::string_view user,
                              std::string_view password, const NtlmChallengeBytes& challenge)
{
    const std::string wideDomain = Widen(domain);
    const std::string wideUser = Widen(user);
    const std::string wideHost = Widen(host);
    const std::string lm = NtlmLmResponse(password, challenge);
    const std::string nt = NtlmNtResponse(password, challenge);

    std::string message(kResponseHeaderSize, '\0');
    message.replace(0, kSignature.size(), kSignature);
    Put32(message, 8, 3);
    std::size_t offset = kResponseHeaderSize;
    const auto place = [&](std::size_t at, const std::string& bytes) {
        PutField(message, at, bytes.size(), offset);
        offset += bytes.size();
    };
    // The payload runs domain, user, host, LM, NT; the descriptors run LM, NT, domain, user, host.
    const std::size_t lmOffset = offset + wideDomain.size() + wideUser.size() + wideHost.size();
    PutField(message, 12, lm.size(), lmOffset);
    PutField(message, 20, nt.size(), lmOffset + lm.size());
    place(28, wideDomain);
    place(36, wideUser);
    place(44, wideHost);
    PutField(message, 52, 0, lmOffset + lm.size() + nt.size());
    Put32(message, 60, kResponseFlags);
    message += wideDomain + wideUser + wideHost + lm + nt;
    return EncodeBase64(message);
}

}  // namespace net
