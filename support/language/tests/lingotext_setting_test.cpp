// The current-language setting through the library's exports, against the real registry: the test
// points HKEY_CURRENT_USER at a scratch key of its own for its whole run.
#include "support/language/tests/lingotext_library.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace language::testing {
namespace {

constexpr wchar_t kCommon[] = L"Software\\Vontar Security\\Common";
constexpr wchar_t kServerForm[] = L"Software\\Vontar Security\\Tollan60\\TServerForm";
constexpr wchar_t kSettings[] = L"Software\\Vontar Security\\Vontar70\\Settings";

struct RawValue
{
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

RawValue ReadRaw(const wchar_t* subKey)
{
    RawValue value;
    core::UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), L"CurrentLanguage", nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return value;
    value.data.resize(size);
    value.present = ::RegQueryValueExW(key.Get(), L"CurrentLanguage", nullptr, &value.type,
                                       value.data.data(), &size) == ERROR_SUCCESS;
    return value;
}

std::vector<BYTE> Bytes(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(bytes, bytes + size);
}

void WriteRaw(const wchar_t* subKey, DWORD type, const void* data, DWORD size)
{
    core::UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                key.Put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.Get(), L"CurrentLanguage", 0, type,
                               static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
}

class LingotextSetting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_lib.Load());
        m_scratchName = L"Software\\LingotextTests\\" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_scratchName.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, m_scratch.Put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CURRENT_USER, m_scratch.Get()), ERROR_SUCCESS);
    }

    void TearDown() override
    {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        m_scratch.Reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_scratchName.c_str());
    }

    void Set(DWORD number, const wchar_t* code)
    {
        m_lib.setCurrentLanguage(number, core::CStringCreate(code));
    }

    LingotextLibrary m_lib;
    std::wstring m_scratchName;
    core::UniqueKey m_scratch;
};

TEST_F(LingotextSetting, StoresTheNumberAndTheCodeWithoutTerminator)
{
    Set(3, L"DE");
    const RawValue number = ReadRaw(kCommon);
    ASSERT_TRUE(number.present);
    EXPECT_EQ(number.type, static_cast<DWORD>(REG_DWORD));
    const DWORD three = 3;
    EXPECT_EQ(number.data, Bytes(&three, 4));
    for (const wchar_t* subKey : {kServerForm, kSettings}) {
        const RawValue code = ReadRaw(subKey);
        ASSERT_TRUE(code.present);
        EXPECT_EQ(code.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(code.data, (std::vector<BYTE>{'D', 0, 'E', 0}));  // 2 bytes a character, no zero
    }

    Set(1, L"NTV");
    EXPECT_EQ(ReadRaw(kServerForm).data, (std::vector<BYTE>{'N', 0, 'T', 0, 'V', 0}));
    EXPECT_EQ(m_lib.getCurrentLanguage(), 1);
}

TEST_F(LingotextSetting, StoredNumberIsReturnedUnchangedWithoutWriting)
{
    for (DWORD stored : {DWORD{9}, DWORD{2}, DWORD{0x12345678}}) {
        WriteRaw(kCommon, REG_DWORD, &stored, sizeof(stored));
        EXPECT_EQ(static_cast<DWORD>(m_lib.getCurrentLanguage()), stored);
        EXPECT_FALSE(ReadRaw(kServerForm).present);
        EXPECT_FALSE(ReadRaw(kSettings).present);
    }
    // The type is not examined: four bytes of binary data are a number as well.
    const DWORD four = 4;
    WriteRaw(kCommon, REG_BINARY, &four, sizeof(four));
    EXPECT_EQ(m_lib.getCurrentLanguage(), 4);
}

// What the user locale of this run picks: "number code" from the environment that CTest sets for
// the locale runs; the plain run only checks that the choice was stored consistently.
TEST_F(LingotextSetting, EmptySettingTakesTheLocaleDefaultAndStoresIt)
{
    const char* expected = std::getenv("LINGOTEXT_EXPECTED_LANGUAGE");
    const DWORD zero = 0;
    const unsigned char tooLong[8] = {3, 0, 0, 0, 3, 0, 0, 0};
    struct Start
    {
        const char* what;
        DWORD type;
        const void* data;
        DWORD size;
    };
    const Start starts[] = {
        {"absent", 0, nullptr, 0},
        {"zero", REG_DWORD, &zero, sizeof(zero)},
        {"longer than four bytes", REG_BINARY, tooLong, sizeof(tooLong)},
    };
    for (const Start& start : starts) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vontar Security");
        if (start.data)
            WriteRaw(kCommon, start.type, start.data, start.size);
        const int chosen = m_lib.getCurrentLanguage();
        const RawValue number = ReadRaw(kCommon);
        ASSERT_TRUE(number.present) << start.what;
        ASSERT_EQ(number.data.size(), 4u) << start.what;
        EXPECT_EQ(*reinterpret_cast<const DWORD*>(number.data.data()), static_cast<DWORD>(chosen));
        const RawValue code = ReadRaw(kSettings);
        ASSERT_TRUE(code.present) << start.what;
        const std::wstring codeText(reinterpret_cast<const wchar_t*>(code.data.data()),
                                    code.data.size() / 2);
        if (expected) {
            EXPECT_EQ(std::to_string(chosen) + " " + std::string(codeText.begin(), codeText.end()),
                      expected)
                << start.what;
        }
        EXPECT_EQ(ReadRaw(kServerForm).data, code.data);

        // A second call reads the stored number back and writes nothing.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vontar Security\\Tollan60");
        EXPECT_EQ(m_lib.getCurrentLanguage(), chosen);
        EXPECT_FALSE(ReadRaw(kServerForm).present);
    }
}

}  // namespace
}  // namespace language::testing
