#include "setup/media/net/socks_messages.h"

#include <gtest/gtest.h>

namespace {

using namespace net;
using Outcome = SocksReply::Outcome;

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

TEST(SocksRequests, HaveTheirExactBytes)
{
    EXPECT_EQ(Socks4ConnectRequest(8080, {127, 0, 0, 1}, "bob"),
              Bytes({4, 1, 0x1F, 0x90, 127, 0, 0, 1, 'b', 'o', 'b', 0}));
    EXPECT_EQ(Socks4aConnectRequest(80, "", "ab.c"),
              Bytes({4, 1, 0, 80, 0, 0, 0, 1, 0, 'a', 'b', '.', 'c', 0}));
    EXPECT_EQ(Socks5Greeting(false), Bytes({5, 1, 0}));
    EXPECT_EQ(Socks5Greeting(true), Bytes({5, 1, 2}));
    EXPECT_EQ(Socks5ConnectRequest("h.io", 443),
              Bytes({5, 1, 0, 3, 4, 'h', '.', 'i', 'o', 1, 187}));
    EXPECT_EQ(Socks5UserPasswordRequest("u", "pw"), Bytes({1, 1, 'u', 2, 'p', 'w'}));
}

TEST(SocksRequests, RefuseFieldsTheOneByteLengthCannotHold)
{
    const std::string longest(255, 'x'), tooLong(256, 'x');
    EXPECT_TRUE(Socks5ConnectRequest(longest, 80));
    EXPECT_FALSE(Socks5ConnectRequest(tooLong, 80));
    EXPECT_TRUE(Socks5UserPasswordRequest(longest, longest));
    EXPECT_FALSE(Socks5UserPasswordRequest(tooLong, "p"));
    EXPECT_FALSE(Socks5UserPasswordRequest("u", tooLong));
}

struct ReplyCase
{
    const char* name;
    SocksReply (*read)(std::string_view);
    std::string received;
    Outcome outcome;
    int code;  // or the method of a method reply
    const char* text;
};

TEST(SocksReplies, GiveEveryOutcomeAndCode)
{
    const std::string name7 = Bytes({5, 0, 0, 3, 7}) + "example" + Bytes({0, 80});
    const ReplyCase cases[] = {
        {"method none", ReadSocks5MethodReply, Bytes({5, 0}), Outcome::Success, 0, ""},
        {"method user", ReadSocks5MethodReply, Bytes({5, 2}), Outcome::Success, 2, ""},
        {"method half", ReadSocks5MethodReply, Bytes({5}), Outcome::NeedMore, 0, ""},
        {"method version", ReadSocks5MethodReply, Bytes({4, 0}), Outcome::Failure, 20002,
         "socks version error"},
        {"method refused", ReadSocks5MethodReply, Bytes({5, 0xFF}), Outcome::Failure, 20003,
         "authentification method not acceptable"},
        {"auth ok", ReadSocks5AuthReply, Bytes({1, 0}), Outcome::Success, 0, ""},
        {"auth failed", ReadSocks5AuthReply, Bytes({1, 1}), Outcome::Failure, 20015,
         "socks authentication failed"},
        {"auth version", ReadSocks5AuthReply, Bytes({5, 0}), Outcome::Failure, 20002,
         "socks version error"},
        {"auth too much", ReadSocks5AuthReply, Bytes({1, 0, 0}), Outcome::Failure, 20001,
         "too much data availaible"},
        {"4 granted", ReadSocks4Reply, Bytes({0, 90, 0, 0, 0, 0, 0, 0}), Outcome::Success, 0, ""},
        {"4 short", ReadSocks4Reply, Bytes({0, 90, 0, 0, 0, 0, 0}), Outcome::NeedMore, 0, ""},
        {"4 rejected", ReadSocks4Reply, Bytes({0, 91, 0, 0, 0, 0, 0, 0}), Outcome::Failure, 20016,
         "request rejected or failed"},
        {"4 no identd", ReadSocks4Reply, Bytes({0, 92, 0, 0, 0, 0, 0, 0}), Outcome::Failure, 20008,
         "connection refused"},
        {"4 identd differs", ReadSocks4Reply, Bytes({0, 93, 0, 0, 0, 0, 0, 0}), Outcome::Failure,
         20015, "authentification failed"},
        {"4 other", ReadSocks4Reply, Bytes({0, 94, 0, 0, 0, 0, 0, 0}), Outcome::Failure, 20012,
         "unassigned error #94"},
        {"4 version", ReadSocks4Reply, Bytes({4, 90, 0, 0, 0, 0, 0, 0}), Outcome::Failure, 20002,
         "socks version error"},
        {"5 version", ReadSocks5ConnectReply, Bytes({4}), Outcome::Failure, 20002,
         "socks version error"},
        {"5 code 1", ReadSocks5ConnectReply, Bytes({5, 1}), Outcome::Failure, 20004,
         "general SOCKS server failure"},
        {"5 code 2", ReadSocks5ConnectReply, Bytes({5, 2}), Outcome::Failure, 20005,
         "connection not allowed by ruleset"},
        {"5 code 3", ReadSocks5ConnectReply, Bytes({5, 3}), Outcome::Failure, 20006,
         "network unreachable"},
        {"5 code 4", ReadSocks5ConnectReply, Bytes({5, 4}), Outcome::Failure, 20007,
         "host unreachable"},
        {"5 code 5", ReadSocks5ConnectReply, Bytes({5, 5}), Outcome::Failure, 20008,
         "connection refused"},
        {"5 code 6", ReadSocks5ConnectReply, Bytes({5, 6}), Outcome::Failure, 20009,
         "time to live expired"},
        {"5 code 7", ReadSocks5ConnectReply, Bytes({5, 7}), Outcome::Failure, 20010,
         "command not supported"},
        {"5 code 8", ReadSocks5ConnectReply, Bytes({5, 8}), Outcome::Failure, 20011,
         "address type not supported"},
        {"5 code 9", ReadSocks5ConnectReply, Bytes({5, 9}), Outcome::Failure, 20012,
         "unassigned error #9"},
        {"5 address type 7", ReadSocks5ConnectReply, Bytes({5, 0, 0, 7, 0}), Outcome::Failure,
         20011, "address type not supported"},
        {"5 ipv4 short", ReadSocks5ConnectReply, Bytes({5, 0, 0, 1, 1, 2, 3, 4, 0}),
         Outcome::NeedMore, 0, ""},
        {"5 name short", ReadSocks5ConnectReply, name7.substr(0, 13), Outcome::NeedMore, 0, ""},
    };
    for (const ReplyCase& c : cases) {
        const SocksReply reply = c.read(c.received);
        EXPECT_EQ(reply.outcome, c.outcome) << c.name;
        EXPECT_EQ(reply.outcome == Outcome::Failure ? reply.code : reply.method, c.code) << c.name;
        EXPECT_EQ(reply.text, c.text) << c.name;
    }
}

TEST(SocksReplies, Socks5SuccessNamesTheBoundAddressOfEveryType)
{
    const struct
    {
        std::string received;
        std::size_t length;
        const char *address, *port;
    } cases[] = {
        {Bytes({5, 0, 0, 1, 10, 0, 0, 7, 0x1F, 0x90}) + "tunnel data", 10, "10.0.0.7", "8080"},
        {Bytes({5, 0, 0, 3, 7}) + "example" + Bytes({0, 80}), 14, "example", "80"},
        // IPv6: the tunnel stands, so the reply is accepted.
        {Bytes(
             {5, 0, 0, 4, 0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0x01, 0xBB}),
         22, "2001:db8:0:0:0:0:0:1", "443"},
    };
    for (const auto& c : cases) {
        const SocksReply reply = ReadSocks5ConnectReply(c.received);
        ASSERT_EQ(reply.outcome, Outcome::Success) << c.address;
        EXPECT_EQ(reply.length, c.length) << c.address;
        EXPECT_EQ(reply.boundAddress, c.address);
        EXPECT_EQ(reply.boundPort, c.port);
        EXPECT_EQ(ReadSocks5ConnectReply(c.received.substr(0, c.length - 1)).outcome,
                  Outcome::NeedMore)
            << c.address;
    }
}

}  // namespace
