#include "setup/sysconfig/installer/progress_handler.h"

#include <gtest/gtest.h>

#include <vector>

namespace setup::sysconfig::installer {
namespace {

using Fields = std::array<std::int64_t, 4>;

TEST(ParseProgressFields, ReadsFieldsInTheOrderTheyCome)
{
    struct Case
    {
        const char* text;
        Fields expected;
    };
    const std::vector<Case> cases = {
        {"1: 0 2: 500 3: 0 4: 1 ", {0, 500, 0, 1}},
        {"1: 2 2: 20 3: 0 ", {2, 20, 0, 0}},
        // A text that ends right after a number: nothing is read past its end.
        {"1: 2 2: 20", {2, 20, 0, 0}},
        {"1: 7", {7, 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"5: 1 2: 3 ", {0, 0, 0, 0}},  // field number out of range
        {"0: 1 ", {0, 0, 0, 0}},
        {"1:0 2: 3 ", {0, 0, 0, 0}},  // no blank after the colon
        {"1 0 2: 3 ", {0, 0, 0, 0}},  // no colon
        {"1:", {0, 0, 0, 0}},         // the text ends inside the field head
        {"1: 2 2: -20 3: 4 ", {2, 0, 0, 0}},
        // The digit before the colon is only checked for range.
        {"4: 9 1: 8 ", {9, 8, 0, 0}},
        {"1: 1 2: 2 3: 3 4: 4 1: 5 ", {1, 2, 3, 4}},
        // 2^64 + 1 wraps to 1.
        {"1: 2 2: 18446744073709551617 ", {2, 1, 0, 0}},
        {"1: 2 2: 9223372036854775808 ", {2, INT64_MIN, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseProgressFields(c.text), c.expected) << c.text;
}

TEST(ParseProgressFields, StopsAtAnEmbeddedNul)
{
    const std::string text("1: 3 \0 2: 4 ", 12);
    EXPECT_EQ(ParseProgressFields(text), (Fields{3, 0, 0, 0}));
}

constexpr std::uint32_t Kind(MessageKind kind, std::uint32_t flags = 0)
{
    return (static_cast<std::uint32_t>(kind) << 24) | flags;
}

struct Message
{
    MessageKind kind;
    const char* text;
};

ProgressState Replay(const std::vector<Message>& messages, ProgressState state = {})
{
    HandlerSession session;
    for (const auto& m : messages)
        HandleInstallerMessage(state, session, nullptr, Kind(m.kind), m.text);
    return state;
}

TEST(InstallUIHandler, KeepsPositionAndTotalFromProgressRecords)
{
    using K = MessageKind;
    struct Case
    {
        const char* name;
        std::vector<Message> messages;
        std::int64_t position;
        std::int64_t total;
    };
    const std::vector<Case> cases = {
        {"forward reports",
         {{K::Progress, "1: 0 2: 500 3: 0 4: 1 "},
          {K::Progress, "1: 2 2: 20 "},
          {K::Progress, "1: 2 2: 20 "},
          {K::Progress, "1: 2 2: 20 "},
          {K::Progress, "1: 2 2: 20 "},
          {K::Progress, "1: 2 2: 20 "}},
         100,
         500},
        {"backward report",
         {{K::Progress, "1: 0 2: 500 3: 1 4: 0 "}, {K::Progress, "1: 2 2: 20 "}},
         -20,
         500},
        {"action data adds the step",
         {{K::Progress, "1: 0 2: 500 3: 0 "},
          {K::Progress, "1: 1 2: 7 3: 1 "},
          {K::ActionData, "a"},
          {K::ActionData, "b"},
          {K::ActionData, "c"}},
         21,
         500},
        {"action data without a step",
         {{K::Progress, "1: 0 2: 500 3: 0 "},
          {K::Progress, "1: 1 2: 7 3: 0 "},
          {K::ActionData, "a"}},
         0,
         500},
        {"reset with no total keeps the total",
         {{K::Progress, "1: 0 2: 500 3: 0 "},
          {K::Progress, "1: 2 2: 50 "},
          {K::Progress, "1: 0 2: 0 3: 0 "}},
         0,
         500},
        {"malformed record acts as a reset",
         {{K::Progress, "1: 0 2: 500 3: 0 "}, {K::Progress, "1: 2 2: 50 "}, {K::Progress, "x"}},
         0,
         500},
        {"an empty record changes nothing",
         {{K::Progress, "1: 0 2: 500 3: 0 "}, {K::Progress, "1: 2 2: 50 "}, {K::Progress, ""}},
         50,
         500},
        {"total additions",
         {{K::Progress, "1: 0 2: 500 3: 0 "}, {K::Progress, "1: 3 2: 250 "}},
         0,
         750},
        {"negative total addition becomes positive",
         {{K::Progress, "1: 0 2: 500 3: 0 "}, {K::Progress, "1: 3 2: 18446744073709551516 "}},
         0,
         600},
        {"negative total is made positive",
         {{K::Progress, "1: 0 2: 18446744073709551516 3: 0 "}},
         0,
         100},
        {"the position wraps",
         {{K::Progress, "1: 0 2: 10 3: 0 "},
          {K::Progress, "1: 2 2: 9223372036854775807 "},
          {K::Progress, "1: 2 2: 2 "}},
         INT64_MIN + 1,
         10},
        {"reports before any reset move nothing", {{K::Progress, "1: 2 2: 20 "}}, 0, 0},
    };
    for (const auto& c : cases) {
        const ProgressState state = Replay(c.messages);
        EXPECT_EQ(state.position, c.position) << c.name;
        EXPECT_EQ(state.total, c.total) << c.name;
        EXPECT_EQ(state.min, 0) << c.name;
    }
}

TEST(InstallUIHandler, ActionTextDropsTheActionStartHead)
{
    struct Case
    {
        MessageKind kind;
        const char* message;
        const char* actionText;
    };
    const std::vector<Case> cases = {
        {MessageKind::ActionStart, "Action 12:00:01: InstallFiles. Copying new files",
         "Copying new files"},
        {MessageKind::ActionStart, "Copying without a period", "Copying without a period"},
        {MessageKind::ActionStart, "Ends with.", ""},
        {MessageKind::ActionData, "File: a.txt. Size: 5", "File: a.txt. Size: 5"},
    };
    for (const auto& c : cases) {
        const ProgressState state = Replay({{c.kind, c.message}});
        EXPECT_EQ(state.actionText, c.actionText) << c.message;
    }
}

class RecordingPrompt final : public IInstallerPrompt
{
public:
    struct Call
    {
        std::string text;
        std::string caption;
        std::uint32_t flags;
        bool languageNeutral;
    };
    int ShowMessage(std::uintptr_t owner, const std::string& text, const std::string& caption,
                    std::uint32_t flags, bool languageNeutral) override
    {
        calls.push_back({text, caption, flags, languageNeutral});
        return answer;
    }
    std::vector<Call> calls;
    int answer = 6;  // IDYES
};

TEST(InstallUIHandler, AnswersEachKindAndShowsItsBox)
{
    using K = MessageKind;
    struct Case
    {
        MessageKind kind;
        bool silent;
        int result;
        const char* boxText;  // nullptr: no box
        std::uint32_t flags;
        bool languageNeutral;
        bool keepsText;
    };
    const std::uint32_t asked = 0x4;  // MB_YESNO as Windows Installer asks for it
    const std::vector<Case> cases = {
        {K::FatalExit, false, 6, "Fatal Error\r\rboom", asked | kIconError, false, true},
        {K::FatalExit, true, 0, nullptr, 0, false, true},
        {K::Error, false, 6, "Error\r\rboom", asked | kIconError, true, true},
        {K::Error, true, 1, nullptr, 0, false, true},
        {K::Warning, false, 6, "Warning\r\rboom", asked | kIconWarning, false, false},
        {K::Warning, true, 1, nullptr, 0, false, false},
        {K::User, false, 6, "boom", asked | kIconQuestion, false, false},
        {K::User, true, 1, nullptr, 0, false, false},
        {K::OutOfDiskSpace, false, 6, "Out of Disk Space\r\rboom", asked | kIconError, false,
         false},
        {K::OutOfDiskSpace, true, 1, nullptr, 0, false, false},
        {K::Info, false, 1, nullptr, 0, false, false},
        {K::ResolveSource, false, 0, nullptr, 0, false, false},
        {K::CommonData, false, 1, nullptr, 0, false, false},
        {K::Initialize, false, 1, nullptr, 0, false, false},
        {K::Terminate, false, 1, nullptr, 0, false, false},
        {K::ShowDialog, false, 1, nullptr, 0, false, false},
        {K::FilesInUse, false, 0, nullptr, 0, false, false},
        {static_cast<MessageKind>(0x20), false, 0, nullptr, 0, false, false},
    };
    for (const auto& c : cases) {
        RecordingPrompt prompt;
        HandlerSession session;
        session.silent = c.silent;
        session.caption = "Probe Setup";
        session.prompt = &prompt;
        ProgressState state;
        const int result =
            HandleInstallerMessage(state, session, nullptr, Kind(c.kind, asked), "boom");
        const auto label = static_cast<int>(c.kind) * 2 + c.silent;
        EXPECT_EQ(result, c.result) << label;
        EXPECT_EQ(session.lastMessageText, c.keepsText ? "boom" : "") << label;
        if (!c.boxText) {
            EXPECT_TRUE(prompt.calls.empty()) << label;
            continue;
        }
        ASSERT_EQ(prompt.calls.size(), 1u) << label;
        EXPECT_EQ(prompt.calls[0].text, c.boxText) << label;
        EXPECT_EQ(prompt.calls[0].caption, "Probe Setup") << label;
        EXPECT_EQ(prompt.calls[0].flags, c.flags) << label;
        EXPECT_EQ(prompt.calls[0].languageNeutral, c.languageNeutral) << label;
    }
}

struct Published
{
    std::string text;
    std::int64_t position, total, min;
};
std::vector<Published> g_published;
bool g_keepGoing = true;

bool RecordingCallback(const std::string& text, std::int64_t position, std::int64_t total,
                       std::int64_t min)
{
    g_published.push_back({text, position, total, min});
    return g_keepGoing;
}

TEST(InstallUIHandler, PublishesAfterEveryMessageAndCancelsOnRequest)
{
    g_published.clear();
    g_keepGoing = true;
    ProgressState state;
    HandlerSession session;
    session.silent = true;
    EXPECT_EQ(HandleInstallerMessage(state, session, &RecordingCallback,
                                     Kind(MessageKind::Progress), "1: 0 2: 40 3: 0 "),
              1);
    EXPECT_EQ(HandleInstallerMessage(state, session, &RecordingCallback,
                                     Kind(MessageKind::ActionStart), "Action 1: X. Doing X"),
              1);
    EXPECT_EQ(HandleInstallerMessage(state, session, &RecordingCallback,
                                     Kind(MessageKind::Progress), "1: 2 2: 10 "),
              1);
    ASSERT_EQ(g_published.size(), 3u);
    EXPECT_EQ(g_published[2].text, "Doing X");
    EXPECT_EQ(g_published[2].position, 10);
    EXPECT_EQ(g_published[2].total, 40);

    // Once the user cancels, every kind answers IDCANCEL, whatever its own answer was.
    g_keepGoing = false;
    for (auto kind : {MessageKind::Info, MessageKind::ResolveSource, MessageKind::FatalExit})
        EXPECT_EQ(HandleInstallerMessage(state, session, &RecordingCallback, Kind(kind), "x"),
                  kIdCancel);
    g_keepGoing = true;
}

}  // namespace
}  // namespace setup::sysconfig::installer
