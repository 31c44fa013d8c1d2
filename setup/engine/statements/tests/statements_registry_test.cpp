#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "setup/engine/rtl/code_page.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/engine/statements/statements_registry.h"
#include "setup/engine/testing/statements_test_support.h"

namespace setup::engine::testing {
namespace {

class FakeWow64 : public IWow64Services
{
public:
    bool wow64 = false;
    std::vector<std::string> calls;

    bool IsWow64() override { return wow64; }
    bool DisableRedirection(void*& oldValue) override
    {
        calls.push_back("disable");
        oldValue = &m_state;
        return true;
    }
    bool RevertRedirection(void* oldValue) override
    {
        calls.push_back(oldValue == &m_state ? "revert kept" : "revert other");
        return true;
    }

private:
    int m_state = 0;
};

// Keys by "root|path" (letter case ignored as the registry does); calls recorded with their view.
class FakeRegistry : public IRegistry
{
public:
    std::map<std::string, std::map<std::string, RegistryValue>> keys;
    std::vector<std::string> calls;
    bool throwOnRead = false;

    static std::string Id(int root, const std::string& path)
    {
        return std::to_string(root) + "|" + rtl::AnsiUpperCase(path);
    }
    void Put(int root, const std::string& path, const std::string& name, std::uint32_t type,
             std::string data)
    {
        keys[Id(root, path)][name] = {type, std::move(data)};
    }

    RegistryReadStatus ReadValue(int root, const std::string& keyPath, const std::string& valueName,
                                 std::uint32_t view, RegistryValue& value) override
    {
        calls.push_back("read " + std::to_string(view));
        if (throwOnRead)
            throw std::runtime_error("access");
        const auto key = keys.find(Id(root, keyPath));
        if (key == keys.end())
            return RegistryReadStatus::NoKey;
        const auto found = key->second.find(valueName);
        if (found == key->second.end())
            return RegistryReadStatus::NoValue;
        value = found->second;
        return RegistryReadStatus::Found;
    }
    void DeleteValue(int root, const std::string& keyPath, const std::string& valueName,
                     std::uint32_t view) override
    {
        calls.push_back("value " + std::to_string(view) + " " + Id(root, keyPath) + " " +
                        valueName);
    }
    void DeleteKeyTree(int root, const std::string& keyPath, std::uint32_t view) override
    {
        calls.push_back("tree " + std::to_string(view) + " " + Id(root, keyPath));
    }
    void DeleteKeyTree64(int root, const std::string& keyPath) override
    {
        calls.push_back("tree64 " + Id(root, keyPath));
    }
};

class FakeEnvironment : public IProcessEnvironment
{
public:
    std::string Expand(const std::string& text) override
    {
        return text == "%PATH%" ? std::string("C:\\Windows") : text;
    }
    std::string BlockText() override { return "A=1$NEWLINE$PATH=C:\\Windows"; }
};

class RegistryStatementTest : public StatementTest
{
protected:
    void SetUp() override
    {
        StatementTest::SetUp();
        RegisterRegistryStatements(handlers, {&registry, &wow64, &environment});
    }
    FakeRegistry registry;
    FakeWow64 wow64;
    FakeEnvironment environment;
};

std::string Dword(std::uint32_t value)
{
    std::string data(4, '\0');
    std::memcpy(data.data(), &value, 4);
    return data;
}

TEST_F(RegistryStatementTest, EveryValueTypeThroughBothReads)
{
    struct Case
    {
        std::uint32_t type;
        std::string data;
        const char* read;
        const char* check;
    };
    const Case cases[] = {
        {kRegSz, std::string("text\0", 5), "text", "text"},
        {kRegSz, "", "", ""},
        {kRegExpandSz, std::string("%TEMP%\\x\0", 10), "%TEMP%\\x", "%TEMP%\\x"},
        {kRegDword, Dword(42), "42", "42"},
        {kRegDword, Dword(4294967295u), "-1", "-1"},
        {kRegDword, Dword(0x80000000u), "-2147483648", "-2147483648"},
        {kRegDword, "ab", "", "READ$ERROR"},
        {kRegBinary, "\x01\x02", "", "BINARY$VALUE"},
        {kRegMultiSz, std::string("a\0b\0\0", 5), "", "UNKNOWN$TYPE"},
        {kRegQword, std::string(8, '\0'), "", "UNKNOWN$TYPE"},
        {kRegNone, "", "", "UNKNOWN$TYPE"},
        {kRegSz, std::string("NO$KEY\0", 7), "", "NO$KEY"},  // a stored result word reads empty
    };
    for (const Case& c : cases) {
        registry.Put(1, "Software\\Test", "Value", c.type, c.data);
        Run({"Read Registry|$read$|1|Software\\\\Test|Value",
             "Check Registry|CHECK|1|Software\\Test|Value"});
        EXPECT_EQ(GetVariable("READ"), c.read) << c.type << " " << c.check;
        EXPECT_EQ(GetVariable("CHECK"), c.check) << c.type << " " << c.check;
    }
}

TEST_F(RegistryStatementTest, MissingKeysValuesRootsAndFailures)
{
    registry.Put(2, "Software\\Test", "Value", kRegSz, "x");
    struct Case
    {
        const char* root;
        const char* key;
        const char* check;
    };
    const Case cases[] = {
        {"2", "Software\\Missing", "NO$KEY"},
        {"2", "Software\\Test", "NO$VALUE"},
        {"5", "Software\\Test", "NO$KEY"},
        {"-1", "Software\\Test", "NO$KEY"},
    };
    for (const Case& c : cases) {
        SetVariable("READ", "old", "test");
        Run({std::string("Check Registry|CHECK|") + c.root + "|" + c.key + "|Other",
             std::string("Read Registry|READ|") + c.root + "|" + c.key + "|Other"});
        EXPECT_EQ(GetVariable("CHECK"), c.check) << c.root << " " << c.key;
        EXPECT_EQ(GetVariable("READ"), "") << c.root << " " << c.key;
    }
    // Unknown roots never reach the registry.
    EXPECT_EQ(registry.calls.size(), 4u);

    registry.throwOnRead = true;
    Run({"Check Registry|CHECK|2|Software\\Test|Value"});
    EXPECT_EQ(GetVariable("CHECK"), "READ$ERROR");

    // A root that is not a number fails the statement after the view is restored; the result
    // variable exists by then.
    wow64.wow64 = true;
    engine.TargetPlatform = "x64";
    EXPECT_THROW(Run({"Read Registry|LATE|HKLM|Software|Value"}), rtl::EConvertError);
    EXPECT_EQ(engine.RegistryViewFlag, kKeyWow64_32Key);
    EXPECT_TRUE(VariableExists("LATE"));
}

TEST_F(RegistryStatementTest, ViewMatrix)
{
    struct Case
    {
        const char* platform;
        bool wow64;
        std::uint32_t readView;
        std::uint32_t defaultView;
    };
    const Case cases[] = {
        {"Win32", false, 0, 0},
        {"x64", false, 0, 0},
        {"Win32", true, kKeyWow64_32Key, kKeyWow64_32Key},
        {"x64", true, kKeyWow64_64Key, kKeyWow64_32Key},
        {"ia64", true, kKeyWow64_64Key, kKeyWow64_32Key},
    };
    for (const Case& c : cases) {
        registry.calls.clear();
        engine.TargetPlatform = c.platform;
        wow64.wow64 = c.wow64;
        engine.RegistryViewFlag = 0x1234;
        Run({"Read Registry|R|2|Software|V", "Delete Registry|2|Software|V|FALSE"});
        const std::vector<std::string> expected = {
            "read " + std::to_string(c.readView),
            "value " + std::to_string(c.readView) + " 2|SOFTWARE V"};
        EXPECT_EQ(registry.calls, expected) << c.platform << " " << c.wow64;
        EXPECT_EQ(engine.RegistryViewFlag, c.defaultView) << c.platform << " " << c.wow64;
    }
}

TEST_F(RegistryStatementTest, ValueVersusTreeDeletion)
{
    struct Case
    {
        const char* platform;
        bool wow64;
        const char* root;
        const char* flag;
        const char* call;  // empty: nothing deleted
    };
    const Case cases[] = {
        {"Win32", false, "1", "FALSE", "value 0 1|SOFTWARE\\A\\B Name"},
        {"Win32", false, "1", "yes", "value 0 1|SOFTWARE\\A\\B Name"},
        {"Win32", false, "1", "TRUE", "tree 0 1|SOFTWARE\\A\\B"},
        {"Win32", false, "1", "-1", "tree 0 1|SOFTWARE\\A\\B"},
        {"Win32", true, "1", "true", "tree 512 1|SOFTWARE\\A\\B"},
        // A 64-bit target from WOW64 deletes the whole sub-tree in the 64-bit view.
        {"x64", true, "2", "TRUE", "tree64 2|SOFTWARE\\A\\B"},
        {"x64", false, "2", "TRUE", "tree 0 2|SOFTWARE\\A\\B"},
        // An unknown root deletes nothing anywhere.
        {"Win32", false, "7", "TRUE", ""},
        {"Win32", false, "-3", "FALSE", ""},
    };
    for (const Case& c : cases) {
        registry.calls.clear();
        engine.TargetPlatform = c.platform;
        wow64.wow64 = c.wow64;
        SetVariable("SUB", "A\\\\B", "test");
        Run({std::string("Delete Registry|") + c.root + "|Software\\$SUB$|Name|" + c.flag});
        const std::vector<std::string> expected =
            *c.call == '\0' ? std::vector<std::string>{} : std::vector<std::string>{c.call};
        EXPECT_EQ(registry.calls, expected) << c.platform << " " << c.root << " " << c.flag;
    }
    EXPECT_THROW(Run({"Delete Registry|one|Software|Name|TRUE"}), rtl::EConvertError);
}

TEST_F(RegistryStatementTest, GetEnvironment)
{
    SetVariable("NAME", "PATH", "test");
    Run({"Get Environment|$NAME$|$path$", "Get Environment||ALL", "Get Environment|NOPE|nope"});
    EXPECT_EQ(GetVariable("PATH"), "C:\\Windows");
    EXPECT_EQ(GetVariable("ALL"), "A=1$NEWLINE$PATH=C:\\Windows");
    EXPECT_EQ(GetVariable("NOPE"), "%NOPE%");
}

TEST_F(RegistryStatementTest, FsRedirectionOnlyForTheOtherHalf)
{
    struct Case
    {
        const char* platform;
        bool wow64;
        bool switched;
    };
    const Case cases[] = {{"Win32", false, false},
                          {"x64", false, false},
                          {"Win32", true, false},
                          {"x64", true, true}};
    for (const Case& c : cases) {
        wow64.calls.clear();
        wow64.wow64 = c.wow64;
        try {
            const FsRedirectionScope scope(wow64, c.platform);
            throw std::runtime_error("statement failed");
        } catch (const std::runtime_error&) {
        }
        const std::vector<std::string> expected =
            c.switched ? std::vector<std::string>{"disable", "revert kept"}
                       : std::vector<std::string>{};
        EXPECT_EQ(wow64.calls, expected) << c.platform << " " << c.wow64;
    }
}

// Windows keeps one redirection state per thread and hands the replaced one back: nested scopes
// (a statement inside another that switched) must each restore what they replaced.
TEST(FsRedirectionScope, NestedScopesRestoreTheStateTheyFound)
{
    class ThreadRedirection : public IWow64Services
    {
    public:
        bool IsWow64() override { return true; }
        bool DisableRedirection(void*& oldValue) override
        {
            oldValue = current;
            current = &disabled;
            return true;
        }
        bool RevertRedirection(void* oldValue) override
        {
            current = oldValue;
            return true;
        }
        int enabled = 0;
        int disabled = 0;
        void* current = &enabled;
    } redirection;
    {
        const FsRedirectionScope outer(redirection, "x64");
        {
            const FsRedirectionScope inner(redirection, "x64");
        }
        EXPECT_EQ(redirection.current, &redirection.disabled);
    }
    EXPECT_EQ(redirection.current, &redirection.enabled);
}

}  // namespace
}  // namespace setup::engine::testing
