#include "setup/media/net/ntlm_messages.h"

#include <gtest/gtest.h>

#include "setup/media/net/base64.h"
#include "setup/media/net/hex_digits.h"

namespace {

using namespace net;

constexpr NtlmChallengeBytes kChallenge = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};

std::uint32_t Read16(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8;
}

std::uint32_t Read32(const std::string& bytes, std::size_t at)
{
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

std::string Field(const std::string& message, std::size_t at)
{
    return message.substr(Read32(message, at + 4), Read16(message, at));
}

TEST(NtlmResponses, MatchTheProtocolDocumentsVersionOneExample)
{
    // The NTLMv1 example of the protocol documentation: user "User", password "Password".
    EXPECT_EQ(ToHex(NtlmLmResponse("Password", kChallenge)),
              "98def7b87f88aa5dafe2df779688a172def11c7d5ccdef13");
    EXPECT_EQ(ToHex(NtlmNtResponse("Password", kChallenge)),
              "67c43011f30298a2ad35ece64f16331c44bdbed927841f94");
}

TEST(NtlmNegotiate, LaysOutHeaderFlagsAndUpperCasedTexts)
{
    struct Case
    {
        const char *host, *domain;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {"", "", 0x8207}, {"ws1", "", 0xA207}, {"", "corp", 0x9207}, {"ws1", "corp", 0xB207}};
    for (const Case& c : cases) {
        const std::string message = DecodeBase64(BuildNtlmNegotiate(c.host, c.domain));
        ASSERT_GE(message.size(), 32u) << c.host;
        EXPECT_EQ(message.substr(0, 8), std::string("NTLMSSP\0", 8));
        EXPECT_EQ(Read32(message, 8), 1u);
        EXPECT_EQ(Read32(message, 12), c.flags) << c.host << "/" << c.domain;
        std::string host = c.host, domain = c.domain;
        for (char& ch : host)
            ch = static_cast<char>(std::toupper(ch));
        for (char& ch : domain)
            ch = static_cast<char>(std::toupper(ch));
        EXPECT_EQ(Field(message, 24), host);
        EXPECT_EQ(Field(message, 16), domain);
        EXPECT_EQ(message.size(), 32 + host.size() + domain.size());
    }
}

TEST(NtlmResponseMessage, PlacesEveryFieldWhereItsDescriptorPoints)
{
    const std::string message =
        DecodeBase64(BuildNtlmResponse("Dom", "Host", "User", "Password", kChallenge));
    ASSERT_GE(message.size(), 64u);
    EXPECT_EQ(message.substr(0, 8), std::string("NTLMSSP\0", 8));
    EXPECT_EQ(Read32(message, 8), 3u);
    EXPECT_EQ(Read32(message, 60), 0x8205u);
    EXPECT_EQ(Field(message, 12), NtlmLmResponse("Password", kChallenge));
    EXPECT_EQ(Field(message, 20), NtlmNtResponse("Password", kChallenge));
    EXPECT_EQ(Field(message, 28), std::string("D\0o\0m\0", 6));
    EXPECT_EQ(Field(message, 36), std::string("U\0s\0e\0r\0", 8));
    EXPECT_EQ(Field(message, 44), std::string("H\0o\0s\0t\0", 8));
    EXPECT_EQ(Read16(message, 52), 0u);  // no session key
    // Domain, user and host come first, then the two responses.
    EXPECT_EQ(Read32(message, 28 + 4), 64u);
    EXPECT_EQ(Read32(message, 12 + 4), 64u + 6 + 8 + 8);
    EXPECT_EQ(message.size(), 64u + 6 + 8 + 8 + 24 + 24);
}

// A challenge message: header, target name, target list.
std::string Challenge(const std::string& target, const std::string& list)
{
    std::string message(48, '\0');
    message.replace(0, 8, std::string("NTLMSSP\0", 8));
    message[8] = 2;
    const auto put = [&message](std::size_t at, std::size_t length, std::size_t offset) {
        message[at] = static_cast<char>(length), message[at + 2] = static_cast<char>(length);
        message[at + 4] = static_cast<char>(offset);
    };
    put(12, target.size(), 48);
    put(40, list.size(), 48 + target.size());
    for (int i = 0; i < 8; ++i)
        message[24 + i] = static_cast<char>(kChallenge[i]);
    return message + target + list;
}

TEST(NtlmChallenge, ReadsTargetChallengeAndNames)
{
    const std::string list = std::string("\x02\0\x04\0D\0O\0", 8) +
                             std::string("\x01\0\x04\0S\0V\0", 8) + std::string(4, '\0') +
                             std::string("\x01\0\x02\0X\0", 6);  // after the end pair: ignored
    const NtlmChallengeInfo info =
        ReadNtlmChallenge(EncodeBase64(Challenge(std::string("T\0G\0", 4), list)));
    EXPECT_TRUE(info.received);
    EXPECT_EQ(info.challenge, kChallenge);
    EXPECT_EQ(info.targetName, u"TG");
    EXPECT_EQ(info.domainName, u"DO");
    EXPECT_EQ(info.serverName, u"SV");
}

TEST(NtlmChallenge, KeepsHostileOffsetsAndListsInsideTheMessage)
{
    std::string pastEnd = Challenge(std::string("T\0G\0", 4), "");
    pastEnd[16] = static_cast<char>(0xF0);  // target name offset far outside
    std::string longLength = Challenge("", std::string("\x01\0\x04\0S\0", 6));
    longLength[40] = static_cast<char>(0xFF);  // list length beyond the message
    const std::string unterminated =
        Challenge("", std::string("\x01\0\x40\0S\0V\0", 8));  // entry claims 64 bytes
    const struct
    {
        const char* name;
        std::string message;
        std::u16string target, server;
    } cases[] = {
        {"offset outside", pastEnd, u"", u""},
        {"list length outside", longLength, u"", u""},
        {"entry longer than the list", unterminated, u"", u"SV"},
        {"shorter than a header", std::string("NTLMSSP\0\x02", 9), u"", u""},
    };
    for (const auto& c : cases) {
        const NtlmChallengeInfo info = ReadNtlmChallenge(EncodeBase64(c.message));
        EXPECT_TRUE(info.received) << c.name;
        EXPECT_EQ(info.targetName, c.target) << c.name;
        EXPECT_EQ(info.serverName, c.server) << c.name;
    }
    EXPECT_FALSE(ReadNtlmChallenge("").received);
}

}  // namespace
