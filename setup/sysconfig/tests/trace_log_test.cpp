#include "setup/sysconfig/trace_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using setup::sysconfig::TraceLog;
using setup::sysconfig::TraceLogFormat;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::u16string Widen(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

class TraceLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_folder);
        m_path = (m_folder / "trace.log").string();
        std::ofstream(m_path) << "left over from an earlier run";
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::filesystem::path m_folder = std::filesystem::temp_directory_path() / "trace-log-test";
    std::string m_path;
};

TEST_F(TraceLogTest, FirstWriteStartsTheFileAnewInUtf16)
{
    TraceLog log(TraceLogFormat{true, Widen});
    log.Write(m_path, "<Quillbay>");
    log.Write(m_path, "  <SetupSplash>");
    EXPECT_FALSE(log.FirstWritePending());
    const std::string expected =
        std::string("<\0Q\0u\0i\0l\0l\0b\0a\0y\0>\0\r\0\n\0", 24) +
        std::string(" \0 \0<\0S\0e\0t\0u\0p\0S\0p\0l\0a\0s\0h\0>\0\r\0\n\0", 34);
    EXPECT_EQ(ReadAll(m_path), expected);
}

TEST_F(TraceLogTest, AnsiLinesOnWindows9xAndNothingWithoutAPath)
{
    TraceLog log(TraceLogFormat{false, Widen});
    log.Write("", "    <StubSize>");  // no trace: the pending first write stays pending
    EXPECT_TRUE(log.FirstWritePending());
    log.Write(m_path, "    <StubSize>");
    log.Write(m_path, "    </StubSize>");
    EXPECT_EQ(ReadAll(m_path), "    <StubSize>\r\n    </StubSize>\r\n");
}

TEST_F(TraceLogTest, ZeroCharacterEndsTheLine)
{
    TraceLog log(TraceLogFormat{true, Widen});
    log.Write(m_path, std::string_view("ab\0cd", 5));
    EXPECT_EQ(ReadAll(m_path), std::string("a\0b\0", 4));
}

}  // namespace
