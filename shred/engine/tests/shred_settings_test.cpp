#include "shred/engine/shred_settings.h"

#include "core/unique_handle.h"
#include "shred/engine/stream_list.h"
#include "shred/engine/system_win32.h"
#include "shred/engine/tests/memory_system.h"
#include "shred/engine/tests/shred_backing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

namespace shred::testing {
namespace {

// A registry prefix of this test process under HKEY_CURRENT_USER, removed afterwards.
class ScratchRegistry : public ::testing::Test
{
protected:
    ScratchRegistry()
    {
        m_registry.root = HKEY_CURRENT_USER;
        m_registry.prefix = m_base + L"\\";
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_base.c_str());
    }
    ~ScratchRegistry() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, m_base.c_str()); }

    void SetValue(const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
                  DWORD size)
    {
        core::UniqueKey handle;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (m_registry.prefix + key).c_str(), 0,
                                    nullptr, 0, KEY_SET_VALUE, nullptr, handle.Put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(
            ::RegSetValueExW(handle.Get(), name, 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
    }
    void SetString(const std::wstring& key, const wchar_t* name, const std::wstring& text)
    {
        SetValue(key, name, REG_SZ, text.c_str(),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void SetDword(const std::wstring& key, const wchar_t* name, DWORD value)
    {
        SetValue(key, name, REG_DWORD, &value, sizeof value);
    }

    const std::wstring m_base =
        L"Software\\VontarShredTests-" + std::to_wstring(::GetCurrentProcessId());
    ShredRegistry m_registry;
};

using ReadShredCharTest = ScratchRegistry;

TEST_F(ReadShredCharTest, TakesTheFirstByteOfAValueThatFitsTwentyBytes)
{
    const std::wstring filewipe = kFilewipe.shredCharKey;
    EXPECT_EQ(ReadShredChar(kFilewipe, m_registry), 0);
    struct Case
    {
        const char* name;
        std::function<void()> set;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {"DWORD", [&] { SetDword(filewipe, L"ShredChar", 0x123456C3); }, 0xC3},
        {"string A", [&] { SetString(filewipe, L"ShredChar", L"A"); }, 0x41},
        {"nine characters", [&] { SetString(filewipe, L"ShredChar", L"Bcdefghij"); }, 0x42},
        {"ten characters", [&] { SetString(filewipe, L"ShredChar", L"Bcdefghijk"); }, 0},
    };
    for (const Case& c : cases) {
        c.set();
        EXPECT_EQ(ReadShredChar(kFilewipe, m_registry), c.expected) << c.name;
        EXPECT_EQ(ReadShredChar(kVolumewipe, m_registry), c.expected) << c.name;
    }
    // Snapwipe reads its own spelling of the key.
    EXPECT_EQ(ReadShredChar(kSnapwipe, m_registry), 0);
    SetDword(L"Software\\Vontar Security\\Filewype\\Settings", L"ShredChar", 0x5A);
    EXPECT_EQ(ReadShredChar(kSnapwipe, m_registry), 0x5A);
}

using ShredEventLogTest = ScratchRegistry;

TEST_F(ShredEventLogTest, ReadsTheModeFromAFourByteValue)
{
    MemorySystem sink;
    const ShredEventLog log(sink, kVolumewipe, m_registry);
    const ShredEventLog snapLog(sink, kSnapwipe, m_registry);
    EXPECT_EQ(log.ReadEventLogSetting(), 0u);
    SetDword(kEventLogSettingsKey, kEventLogSettingValue, 2);
    EXPECT_EQ(log.ReadEventLogSetting(), 2u);
    EXPECT_EQ(snapLog.ReadEventLogSetting(), 0u);
    SetString(kEventLogSettingsKey, kEventLogSettingValue, L"abcdef");
    EXPECT_EQ(log.ReadEventLogSetting(), 0u);
}

TEST_F(ShredEventLogTest, RegistersTheSourceWithThisModulesMessageFile)
{
    MemorySystem sink;
    const std::wstring sourceKey = m_registry.prefix + kEventSourceKeyPrefix + kShredEventSource;
    ShredEventLog(sink, kSnapwipe, m_registry).RegisterShredEventSource();
    core::UniqueKey key;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, sourceKey.c_str(), 0, KEY_READ, key.Put()),
              ERROR_SUCCESS);

    ShredEventLog(sink, kFilewipe, m_registry).RegisterShredEventSource();

    wchar_t exe[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    for (const wchar_t* name : {L"EventMessageFile", L"CategoryMessageFile"}) {
        wchar_t text[MAX_PATH] = {};
        DWORD size = sizeof text;
        DWORD type = 0;
        ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, sourceKey.c_str(), name,
                                 RRF_RT_ANY | RRF_NOEXPAND, &type, text, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
        EXPECT_STREQ(text, exe);
    }
    for (const auto& [name, expected] :
         {std::pair{L"TypesSupported", 7u}, std::pair{L"CategoryCount", 2u}}) {
        DWORD value = 0;
        DWORD size = sizeof value;
        ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, sourceKey.c_str(), name, RRF_RT_REG_DWORD,
                                 nullptr, &value, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(value, expected);
    }
}

TEST_F(ShredEventLogTest, ReportsOneRecordThroughTheEventSink)
{
    MemorySystem sink;
    ShredEventLog(sink, kVolumewipe, m_registry).ReportShredEvent(L"C:\\x.txt", 12, kShredDone);
    ShredEventLog(sink, kSnapwipe, m_registry).ReportShredEvent(L"C:\\y.txt", 1, kShredDone);
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0], MakeShredEventRecord(L"C:\\x.txt", 12, kShredDone));
    // The real sink reports and deregisters; Wine keeps nothing, but the call must come back.
    DefaultShredSystem().WriteEvent(sink.events[0]);
}

TEST(ShredMessageTable, TurnsEveryRecordIntoItsText)
{
    const std::pair<DWORD, std::wstring> cases[] = {
        {1, L"Shred Status\r\n"},
        {2, L"Second category event\r\n"},
        {3,
         L"A file was shredded successfully.\r\n\r\nFile name: C:\\x.txt, algorithm: 12, return "
         L"code: -100\r\n"},
        {4,
         L"Failed to shred a file.\r\n\r\nFile name: C:\\x.txt, algorithm: 12, return code: "
         L"-100\r\n"},
    };
    const wchar_t* strings[] = {L"C:\\x.txt", L"12", L"-100"};
    for (const auto& [id, expected] : cases) {
        wchar_t text[512] = {};
        const DWORD length = ::FormatMessageW(
            FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
            ::GetModuleHandleW(nullptr), id, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text,
            512, reinterpret_cast<va_list*>(const_cast<wchar_t**>(strings)));
        EXPECT_EQ(std::wstring(text, length), expected) << id;
    }
}

TEST(Win32ShredSystem, GivesTheSystemsAnswers)
{
    FILETIME epoch{};
    ASSERT_TRUE(::DosDateTimeToFileTime(0x0021, 0, &epoch));
    EXPECT_EQ((static_cast<std::uint64_t>(epoch.dwHighDateTime) << 32) | epoch.dwLowDateTime,
              kDosEpochFileTime);

    Win32Backing backing;
    IShredSystem& system = DefaultShredSystem();
    const std::wstring file = backing.Root() + L"\\f.txt";
    const std::wstring other = backing.Root() + L"\\g.txt";
    backing.MakeFile(file, {1, 2, 3});
    backing.MakeFile(other, {4});
    // Without backup reads (Wine) a file simply has no named streams.
    EXPECT_THAT(ListAlternateStreams(system, file), ::testing::IsEmpty());
    EXPECT_FALSE(system.Move(file, other));
    EXPECT_EQ(backing.Read(other), std::vector<std::uint8_t>{4});
    EXPECT_TRUE(system.Facts(backing.Root()).isFolder);
    EXPECT_FALSE(system.Facts(file).isFolder);
    EXPECT_FALSE(system.Facts(backing.Root() + L"\\none").exists);
    EXPECT_TRUE(system.IsNtFamily());
    EXPECT_GT(system.CounterFrequency(), 0);
}

}  // namespace
}  // namespace shred::testing
