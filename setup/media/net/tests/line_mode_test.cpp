// Line mode and the synchronous waits against the scripted sockets library: bytes fed in pieces as
// the peer would send them, lines read back through small reads.
#include <gtest/gtest.h>

#include "setup/media/net/async_socket.h"
#include "setup/media/net/socket_errors.h"
#include "setup/media/net/sync_wait.h"
#include "setup/media/net/tests/fake_socket_library.h"

// Named rather than anonymous: the test sources share one translation unit.
namespace line_mode_test {

using namespace net;
using net::testing::FakeSocketLibrary;
using net::testing::FakeSocketWindow;
using Lines = std::vector<std::string>;

constexpr SocketHandle kHandle = FakeSocketLibrary::kHandle;

// A connected socket in line mode whose owner reads each line in reads of three bytes.
struct LineHarness
{
    FakeSocketLibrary library;
    FakeSocketWindow window;
    AsyncSocket socket{library, window};
    Lines lines;
    std::string current;
    std::vector<std::size_t> limitCounts;
    bool keepOverLimit = false;

    LineHarness()
    {
        socket.events.dataAvailable = [this](int) { ReadSome(); };
        socket.events.lineLimitExceeded = [this](std::size_t count, bool& clearData) {
            limitCounts.push_back(count);
            clearData = !keepOverLimit;
        };
        socket.SetAddr("127.0.0.1");
        socket.SetPort("23");
        socket.Connect();
        socket.HandleNetworkEvent(kHandle, kEventConnect, 0);
        socket.SetLineMode(true);
        library.wire.clear();
    }

    void ReadSome()
    {
        char buffer[3];
        const int n = socket.Receive(buffer, sizeof buffer);
        if (n > 0)
            current.append(buffer, static_cast<std::size_t>(n));
        if (socket.RcvdCount() == 0 && !current.empty())
            lines.push_back(std::exchange(current, {}));
    }

    void Feed(const std::string& piece)
    {
        library.incoming += piece;
        socket.HandleNetworkEvent(kHandle, kEventRead, 0);
    }
};

TEST(LineMode, DeliversLinesFedInPieces)
{
    const struct
    {
        const char* name;
        Lines pieces;
        std::string lineEnd;
        bool edit, echo;
        std::size_t limit;
        bool keepOverLimit;
        Lines expectedLines;
        std::string expectedEcho;
        std::vector<std::size_t> expectedLimitCounts;
    } cases[] = {
        {"terminator split over two reads",
         {"GET a\r", "\nGET b\r\n"},
         "\r\n",
         false,
         false,
         65536,
         false,
         {"GET a\r\n", "GET b\r\n"},
         "",
         {}},
        {"several lines in one read",
         {"one\r\ntwo\r\nthr", "ee\r\n"},
         "\r\n",
         false,
         false,
         65536,
         false,
         {"one\r\n", "two\r\n", "three\r\n"},
         "",
         {}},
        {"a terminator of its own",
         {"a\nb", "\n"},
         "\n",
         false,
         false,
         65536,
         false,
         {"a\n", "b\n"},
         "",
         {}},
        {"over the limit, cleared",
         {"0123456789", "ab\r\n"},
         "\r\n",
         false,
         false,
         8,
         false,
         {"ab\r\n"},
         "",
         {10}},
        {"over the limit, kept",
         {"0123456789", "ab\r\n"},
         "\r\n",
         false,
         false,
         8,
         true,
         {"0123456789ab\r\n"},
         "",
         {10}},
        {"no limit",
         {std::string(70000, 'x'), "\r\n"},
         "\r\n",
         false,
         false,
         0,
         false,
         {std::string(70000, 'x') + "\r\n"},
         "",
         {}},
        {"backspace and tab edited and echoed",
         {"ab\bc\td\r\n"},
         "\r\n",
         true,
         true,
         65536,
         false,
         {"ac      d\r\n"},
         "ab\b \bc      d\r\n",
         {}},
        {"backspace with nothing before it",
         {"\bz\r\n"},
         "\r\n",
         true,
         true,
         65536,
         false,
         {"z\r\n"},
         "z\r\n",
         {}},
        {"a backspace across a read erases a split terminator",
         {"x\r", "\by\r\n"},
         "\r\n",
         true,
         false,
         65536,
         false,
         {"xy\r\n"},
         "",
         {}},
        {"echo without editing sends back what came",
         {"x\b\r\n"},
         "\r\n",
         false,
         true,
         65536,
         false,
         {"x\b\r\n"},
         "x\b\r\n",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LineHarness h;
        h.socket.lineEnd = c.lineEnd;
        h.socket.lineEdit = c.edit;
        h.socket.lineEcho = c.echo;
        h.socket.lineLimit = c.limit;
        h.keepOverLimit = c.keepOverLimit;
        for (const auto& piece : c.pieces)
            h.Feed(piece);
        EXPECT_EQ(h.lines, c.expectedLines);
        EXPECT_EQ(h.library.wire, c.expectedEcho);
        EXPECT_EQ(h.limitCounts, c.expectedLimitCounts);
    }
}

TEST(LineMode, AHandlerThatReadsNothingDropsTheLine)
{
    LineHarness h;
    int calls = 0;
    h.socket.events.dataAvailable = [&](int) {
        if (++calls > 1)
            h.ReadSome();
    };
    h.Feed("skipped\r\nkept\r\n");
    EXPECT_EQ(h.lines, (Lines{"kept\r\n"}));
}

TEST(LineMode, DeliversTheRestAsALastLineWhenThePeerCloses)
{
    LineHarness h;
    bool closed = false;
    h.socket.events.sessionClosed = [&](int) {
        h.lines.push_back("(closed)");
        closed = true;
    };
    h.Feed("whole\r\npart");
    h.library.incoming = "ial";
    h.socket.HandleNetworkEvent(kHandle, kEventClose, 0);
    EXPECT_TRUE(closed);
    EXPECT_EQ(h.lines, (Lines{"whole\r\n", "partial", "(closed)"}));
}

TEST(LineMode, SwitchedOffInAHandlerHandsTheRestOutAsPlainData)
{
    LineHarness h;
    std::string plain;
    h.socket.events.dataAvailable = [&](int) {
        if (h.socket.LineMode()) {
            h.ReadSome();
            if (!h.lines.empty())
                h.socket.SetLineMode(false);  // a header line, then a binary body
            return;
        }
        char buffer[4];
        const int n = h.socket.Receive(buffer, sizeof buffer);
        if (n > 0)
            plain.append(buffer, static_cast<std::size_t>(n));
    };
    h.Feed("HEAD\r\nbody\r\nmore");
    EXPECT_EQ(h.lines, (Lines{"HEAD\r\n"}));
    EXPECT_EQ(h.window.rescansPosted, 1);
    h.socket.HandleLineRescan();
    EXPECT_EQ(plain, "body\r\nmore");
}

TEST(LineMode, SwitchedOnInAHandlerSplitsTheRestIntoLines)
{
    LineHarness h;
    std::string plain;
    h.socket.events.dataAvailable = [&](int) {
        if (h.socket.LineMode())
            return h.ReadSome();
        // A four-byte prefix, then lines.
        char buffer[4];
        if (h.socket.Receive(buffer, sizeof buffer) == 4) {
            plain.assign(buffer, 4);
            h.socket.SetLineMode(true);
        }
    };
    h.socket.SetLineMode(false);
    h.Feed("LEN:abc\r\ndef\r\n");
    EXPECT_EQ(plain, "LEN:");
    EXPECT_EQ(h.lines, (Lines{"abc\r\n", "def\r\n"}));
    EXPECT_EQ(h.window.rescansPosted, 0);  // nothing was buffered when it switched
}

TEST(LineMode, SendsATextLineWithTheTerminatorButNothingForAnEmptyText)
{
    const struct
    {
        const char *text, *lineEnd, *expectedWire;
        int expectedCount;
    } cases[] = {
        {"HELO x", "\r\n", "HELO x\r\n", 8},
        {"", "\r\n", "", 0},
        {"x", "\n", "x\n", 3},  // the count assumes a two-byte terminator
    };
    for (const auto& c : cases) {
        LineHarness h;
        h.socket.lineEnd = c.lineEnd;
        EXPECT_EQ(h.socket.SendTextLine(c.text), c.expectedCount) << c.text;
        EXPECT_EQ(h.library.wire, c.expectedWire) << c.text;
    }
}

// A clock that advances 10 ms per pump, a queue whose n-th pump sets the flag or quits.
struct FakeWaitHost : IWaitHost
{
    std::uint32_t now = 0xFFFFFFF0;  // close to the wrap of the tick count
    int pumps = 0;
    int setFlagOnPump = 0, quitOnPump = 0;
    bool* flag = nullptr;

    std::uint32_t NowMilliseconds() override { return now; }
    bool PumpMessages() override
    {
        ++pumps;
        now += 10;
        if (pumps == setFlagOnPump)
            *flag = true;
        return pumps != quitOnPump;
    }
    void YieldTimeSlice() override {}
};

TEST(SyncWaiter, WaitsForTheFlagUntilTimeOutOrQuit)
{
    const struct
    {
        const char* name;
        unsigned long timeout;
        int setFlagOnPump, quitOnPump;
        int expectedResult, expectedPumps;
    } cases[] = {
        {"flag set by a message", 0, 3, 0, 0, 3},
        {"flag set in time", 100, 5, 0, 0, 5},
        {"time-out across the clock's wrap", 50, 0, 0, kWaitTimedOut, 6},
        {"thread quits", 0, 0, 2, kWaitTimedOut, 2},
        {"flag set by the message before the quit", 0, 2, 2, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool flag = false;
        FakeWaitHost host;
        host.flag = &flag;
        host.setFlagOnPump = c.setFlagOnPump;
        host.quitOnPump = c.quitOnPump;
        SyncWaiter waiter(host);
        waiter.timeoutMilliseconds = c.timeout;
        EXPECT_EQ(waiter.WaitForFlag(flag), c.expectedResult);
        EXPECT_EQ(host.pumps, c.expectedPumps);
    }
}

TEST(SyncWaiter, SyncCallClearsTheFlagRunsTheProcedureAndStopsAfterAQuit)
{
    FakeWaitHost host;
    bool flag = true;
    host.flag = &flag;
    SyncWaiter waiter(host);
    EXPECT_EQ(waiter.SyncCall([&] { flag = true; }, flag), 0);
    EXPECT_EQ(host.pumps, 0);  // the procedure finished the work before any wait
    host.quitOnPump = 1;
    EXPECT_EQ(waiter.SyncCall(nullptr, flag), kWaitTimedOut);
    EXPECT_TRUE(waiter.Terminated());
    EXPECT_EQ(waiter.SyncCall(nullptr, flag), kWaitTimedOut);  // a quitting thread waits no more
    EXPECT_EQ(host.pumps, 1);
}

}  // namespace line_mode_test
