#include "core/text_convert.h"
#include "core/unique_handle.h"
#include "suite/shellmenu/command_line.h"
#include "suite/shellmenu/menu_configuration.h"
#include "suite/shellmenu/registration_plan.h"
#include "tests/support/process_runner_win32.h"
#include "tests/support/program_folder_win32.h"
#include "tests/support/scratch_folder_win32.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <functional>
#include <string>
#include <vector>

namespace shellmenu {
namespace {

using testsupport::RunRegsvr32;

// {6E46DFF2-2890-41B2-9C14-0E766CEAB835}
constexpr GUID kLibId = {
    0x6E46DFF2, 0x2890, 0x41B2, {0x9C, 0x14, 0x0E, 0x76, 0x6C, 0xEA, 0xB8, 0x35}};

HKEY Root(RegistryRoot root)
{
    return root == RegistryRoot::Machine ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT;
}

bool KeyExists(HKEY root, const std::wstring& key)
{
    core::UniqueKey owner;
    return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, owner.Put()) == ERROR_SUCCESS;
}

// The string value, or nothing when it is missing.
std::optional<std::wstring> ReadText(HKEY root, const std::wstring& key, const std::wstring& name)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    if (::RegGetValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ,
                       nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

DWORD CountSubKeys(HKEY root, const std::wstring& key)
{
    core::UniqueKey owner;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, owner.Put()) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    ::RegQueryInfoKeyW(owner.Get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr);
    return count;
}

// The parent keys registration may create; the ones missing before a test are removed after it.
std::vector<std::pair<HKEY, std::wstring>> ParentKeys()
{
    std::vector<std::pair<HKEY, std::wstring>> keys;
    for (const std::wstring& target : HandlerTargets()) {
        keys.emplace_back(HKEY_CLASSES_ROOT, target + L"\\ShellEx\\ContextMenuHandlers");
        keys.emplace_back(HKEY_CLASSES_ROOT, target + L"\\ShellEx");
        keys.emplace_back(HKEY_CLASSES_ROOT, target);
    }
    keys.emplace_back(HKEY_LOCAL_MACHINE, kApprovedKey);
    return keys;
}

// Explorermenu.dll registered by regsvr32 for one test; the test's registry keys, the parents it
// created and its files are removed afterwards.
class RegisteredExplorermenu : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto& [root, key] : ParentKeys()) {
            if (!KeyExists(root, key))
                m_createdParents.emplace_back(root, key);
        }
        m_dll = testsupport::ProgramFolder() + L"Explorermenu.dll";
        ASSERT_EQ(RunRegsvr32(L"\"" + m_dll + L"\""), 0u);
        m_scratchKey = L"Software\\ExplorermenuTests\\" + std::to_wstring(::GetCurrentProcessId());
    }
    void TearDown() override
    {
        RunRegsvr32(L"/u \"" + m_dll + L"\"");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_scratchKey.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, m_scratchKey.c_str());
        // Fails while another test process still has its key there.
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\ExplorermenuTests");
        for (const auto& [root, key] : m_createdParents) {
            ::RegDeleteTreeW(root, key.c_str());
            ::RegDeleteKeyW(root, key.c_str());
        }
    }

    std::wstring StandIn() const { return testsupport::ProgramFolder() + L"Wipestation.exe"; }
    std::wstring ShellExtensionKey() const
    {
        return m_scratchKey + L"\\SOFTWARE\\Vontar Security\\Shell Extension";
    }
    // A command value in the fixture: `key` below the "Shell Extension" key.
    void Command(const std::wstring& key, const std::wstring& name, const std::wstring& line)
    {
        testsupport::WriteRegistryText(
            HKEY_CURRENT_USER, (ShellExtensionKey() + L"\\" + key).c_str(), name.c_str(), line);
    }
    // The commands the setup writes, starting the stand-in.
    void SetupCommands()
    {
        const std::wstring program = L"\"" + StandIn() + L"\"";
        testsupport::WriteRegistryText(HKEY_CURRENT_USER, ShellExtensionKey().c_str(), nullptr,
                                       L"3.1.0.7");
        Command(kRecycleBinClassId, L"shell_ext_shred_recycle_bin", program + L" /r");
        Command(L"Drive", L"shell_ext_shred_free_space_wizard", program + L" /w %1");
        Command(L"Vontar\\*.*", L"shell_ext_3_shred", program + L" /s %1");
    }

    struct Run
    {
        std::vector<std::string> host;     // the host's lines
        std::vector<std::string> started;  // what the stand-in recorded, when it ran
    };
    // Plays Explorer in a new process; `invoke` is the command offset to choose, or -1.
    Run PlayExplorer(const std::string& mode, int invoke, const std::vector<std::wstring>& paths)
    {
        const std::wstring result = m_files / L"host.txt";
        const std::wstring record = m_files / L"started.txt";
        ::DeleteFileW(record.c_str());
        std::string arguments = "\"" + core::WideToAnsi(result) + "\" \"" +
                                core::WideToAnsi(m_scratchKey) + "\" " + mode + " " +
                                (invoke < 0 ? std::string("-") : std::to_string(invoke));
        for (const std::wstring& path : paths) {
            std::wstring quoted = QuotedPath(path);
            quoted.pop_back();
            arguments += " " + core::WideToAnsi(quoted);
        }
        testsupport::ProcessOptions options;
        options.arguments = arguments;
        options.environment = {{"WIPESTATION_RECORD", core::WideToAnsi(record)}};
        const testsupport::ProcessResult process = testsupport::RunProcess(
            core::WideToAnsi(testsupport::ProgramFolder() + L"explorer_host.exe"), options);
        EXPECT_EQ(process.exitCode, 0u);
        Run run;
        run.host = testsupport::ReadUtf16Lines(core::WideToAnsi(result));
        if (invoke >= 0) {
            // The handler does not wait for the program it starts.
            for (int i = 0; i < 200 && !testsupport::FileExists(record); ++i)
                ::Sleep(50);
            if (testsupport::FileExists(record))
                run.started = testsupport::ReadUtf16Lines(core::WideToAnsi(record));
        }
        return run;
    }
    std::string Program() const { return core::WideToAnsi(L"\"" + StandIn() + L"\""); }

    std::wstring m_dll;
    std::wstring m_scratchKey;
    testsupport::ScratchFolder m_files;
    std::vector<std::pair<HKEY, std::wstring>> m_createdParents;
};

std::vector<std::string> Only(const std::vector<std::string>& lines, const std::string& prefix)
{
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0)
            kept.push_back(line);
    }
    return kept;
}

// The query's result and the menu it built.
std::vector<std::string> MenuLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        for (const char* prefix : {"query ", "item ", "submenu ", "  item "}) {
            if (line.rfind(prefix, 0) == 0) {
                kept.push_back(line);
                break;
            }
        }
    }
    return kept;
}

TEST_F(RegisteredExplorermenu, RegistersItsValuesOnceAndRemovesOnlyThem)
{
    // A second registration replaces the first.
    ASSERT_EQ(RunRegsvr32(L"\"" + m_dll + L"\""), 0u);
    RegistrationScript everything = AppIdScript();
    const RegistrationScript classes = ClassScript(m_dll);
    everything.values.insert(everything.values.end(), classes.values.begin(), classes.values.end());
    everything.removedKeys.insert(everything.removedKeys.end(), classes.removedKeys.begin(),
                                  classes.removedKeys.end());
    for (const RegistrationValue& value : everything.values)
        EXPECT_EQ(ReadText(Root(value.root), value.key, value.name), value.text)
            << core::WideToAnsi(value.key + L" " + value.name);
    for (const std::wstring& target : HandlerTargets())
        EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, HandlerKey(target), L""), kClsidText);
    EXPECT_EQ(CountSubKeys(HKEY_CLASSES_ROOT, HandlerKey(L"*")), 0u);
    EXPECT_EQ(
        CountSubKeys(HKEY_CLASSES_ROOT, HandlerKey(std::wstring(L"CLSID\\") + kRecycleBinClassId)),
        1u);
    ITypeLib* library = nullptr;
    EXPECT_EQ(::LoadRegTypeLib(kLibId, 1, 0, LANG_NEUTRAL, &library), S_OK);
    if (library) {
        BSTR name = nullptr;
        library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
        EXPECT_STREQ(name, L"ExplorermenuLib");
        ::SysFreeString(name);
        library->Release();
    }

    ASSERT_EQ(RunRegsvr32(L"/u \"" + m_dll + L"\""), 0u);
    for (const std::wstring& key : everything.removedKeys)
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << core::WideToAnsi(key);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText), std::nullopt);
    for (const auto& [root, key] : ParentKeys())
        EXPECT_TRUE(KeyExists(root, key)) << core::WideToAnsi(key);
    library = nullptr;
    EXPECT_NE(::LoadRegTypeLib(kLibId, 1, 0, LANG_NEUTRAL, &library), S_OK);
    if (library)
        library->Release();
}

TEST_F(RegisteredExplorermenu, OneFileGetsTheShredCommandInlineAndStartsIt)
{
    SetupCommands();
    m_files.Write("a b.txt", "x");
    const std::wstring file = m_files / L"a b.txt";
    const Run run = PlayExplorer("shell", 0, {file});
    const std::vector<std::string> expected = {
        "init 00000000",
        "defaultonly 00000000",
        "query 00000001",
        "item 100 shell_ext_3_shred 0",
        "string 0 80070057 ",
        "string 1 00000000 shell_ext_3_shred",
        "string 2 80070057 ",
        // Every type that shares a bit with help text or wide is served.
        "string 3 00000000 shell_ext_3_shred",
        "string 4 00000000 shell_ext_3_shred",
        "string 5 00000000 shell_ext_3_shred",
        "string 6 00000000 ",
        "verb 80070057",
        "unknown 80070057",
        "invoke 00000000",
        // Aggregated, the handler's interfaces count their references on the outer object.
        "aggregate 00000000 00000000 1 80040110",
        "canunload 00000001",
        "canunload 00000000",
    };
    EXPECT_EQ(run.host, expected);
    const std::string path = core::WideToAnsi(file);
    EXPECT_EQ(run.started, (std::vector<std::string>{"line:" + Program() + " /s \"" + path + "\" ",
                                                     "arg:/s", "arg:" + path}));
}

TEST_F(RegisteredExplorermenu, SelectionKindsDecideTheMenu)
{
    SetupCommands();
    Command(L"Vontar\\*.txt", L"text_a", L"\"" + StandIn() + L"\" /a %1");
    Command(L"Vontar\\*.txt", L"text_b", L"\"" + StandIn() + L"\" /b %1");
    m_files.Write("one.txt", "1");
    m_files.Write("two.txt", "2");
    m_files.Write("other.doc", "3");
    m_files.Make("folder");
    using Lines = std::vector<std::string>;
    struct Case
    {
        const char* name;
        std::string mode;
        std::vector<std::wstring> paths;
        Lines menu;
    };
    const Case cases[] = {
        {"a folder",
         "shell",
         {m_files / L"folder"},
         {"query 00000001", "item 100 shell_ext_3_shred 0"}},
        {"a file and a folder",
         "shell",
         {m_files / L"other.doc", m_files / L"folder"},
         {"query 00000001", "item 100 shell_ext_3_shred 0"}},
        {"two files of a typed kind get a submenu",
         "shell",
         {m_files / L"one.txt", m_files / L"two.txt"},
         {"query 00000003", "submenu 102 Vontar 0", "  item 100 text_a 0", "  item 101 text_b 0"}},
        {"typed and untyped files share nothing",
         "shell",
         {m_files / L"one.txt", m_files / L"other.doc"},
         {"query 00000000"}},
        {"a drive root",
         "hdrop",
         {L"C:\\"},
         {"query 00000001", "item 100 shell_ext_shred_free_space_wizard 0"}},
        {"a drive root and a file", "hdrop", {L"C:\\", m_files / L"other.doc"}, {"query 00000000"}},
        {"a missing path", "hdrop", {m_files / L"gone.txt"}, {"query 00000000"}},
        {"the Recycle Bin",
         "bin",
         {},
         {"query 00000001", "item 100 shell_ext_shred_recycle_bin 0"}},
    };
    for (const Case& c : cases) {
        const Run run = PlayExplorer(c.mode, -1, c.paths);
        ASSERT_FALSE(run.host.empty()) << c.name;
        EXPECT_EQ(run.host.front(), "init 00000000") << c.name;
        EXPECT_EQ(MenuLines(run.host), c.menu) << c.name;
    }
}

TEST_F(RegisteredExplorermenu, StartedCommandLines)
{
    SetupCommands();
    m_files.Make("with blanks");
    m_files.Write("with blanks\\first file.txt", "1");
    m_files.Write("with blanks\\second.txt", "2");
    const std::string program = Program();
    const std::wstring first = m_files / L"with blanks\\first file.txt";
    const std::wstring second = m_files / L"with blanks\\second.txt";
    struct Case
    {
        const char* name;
        std::string mode;
        std::vector<std::wstring> paths;
        std::vector<std::string> started;
    };
    const Case cases[] = {
        {"two files in order",
         "shell",
         {first, second},
         {"line:" + program + " /s \"" + core::WideToAnsi(first) + "\" \"" +
              core::WideToAnsi(second) + "\" ",
          "arg:/s", "arg:" + core::WideToAnsi(first), "arg:" + core::WideToAnsi(second)}},
        // The root's backslash is doubled, so the program reads "C:\" and not an escaped quote.
        {"a drive root",
         "hdrop",
         {L"C:\\"},
         {"line:" + program + " /w \"C:\\\\\" ", "arg:/w", "arg:C:\\"}},
        {"the Recycle Bin passes no path", "bin", {}, {"line:" + program + " /r", "arg:/r"}},
    };
    for (const Case& c : cases) {
        const Run run = PlayExplorer(c.mode, 0, c.paths);
        EXPECT_EQ(Only(run.host, "invoke "), (std::vector<std::string>{"invoke 00000000"}))
            << c.name;
        EXPECT_EQ(run.started, c.started) << c.name;
    }
}

TEST_F(RegisteredExplorermenu, PathsPastTheCommandLineLimitAreLeftOut)
{
    SetupCommands();
    // Equal lengths: each path takes its length plus two quotes and a space.
    const std::string folder = m_files.Make("long");
    const std::size_t nameLength = 240 - folder.size();
    std::wstring list;
    std::vector<std::string> paths;
    for (int i = 0; i < 140; ++i) {
        std::string name = std::to_string(1000 + i);
        name += std::string(nameLength - name.size(), 'n');
        paths.push_back(m_files.Write("long\\" + name, "x"));
        list += core::AnsiToWide(paths.back()) + L"\n";
    }
    const std::wstring listFile = m_files / L"paths.txt";
    testsupport::WriteWholeFile(
        listFile, std::vector<std::uint8_t>(reinterpret_cast<const std::uint8_t*>(list.data()),
                                            reinterpret_cast<const std::uint8_t*>(list.data()) +
                                                list.size() * sizeof(wchar_t)));
    const std::size_t commandLength = Program().size() + std::string(" /s %1").size();
    const std::size_t piece = paths.front().size() + 3;
    const std::size_t fitting = (kCommandLineLimit - commandLength) / piece;
    ASSERT_LT(fitting, paths.size());

    const Run run = PlayExplorer("hdrop", 0, {L"@" + listFile});
    ASSERT_FALSE(run.started.empty());
    const std::vector<std::string> args = Only(run.started, "arg:");
    ASSERT_EQ(args.size(), fitting + 1);
    for (std::size_t i = 0; i < fitting; ++i)
        EXPECT_EQ(args[i + 1], "arg:" + paths[i]);
    EXPECT_LE(run.started.front().size() - std::string("line:").size(), kCommandLineLimit);
}

TEST_F(RegisteredExplorermenu, TextsAndBitmapFromTheLanguageLibraryFoundInThe32BitView)
{
    SetupCommands();
    testsupport::WriteRegistryText(HKEY_CURRENT_USER, ShellExtensionKey().c_str(), L"menu_bitmap",
                                   L"banner");
    testsupport::WriteRegistryText(
        HKEY_CURRENT_USER,
        (m_scratchKey + L"\\Software\\Wow6432Node\\Vontar Security\\Paths\\DLLs").c_str(),
        L"LingotextShellExt.dll", testsupport::ProgramFolder() + L"shellmenu_languages");
    const std::wstring program = L"\"" + StandIn() + L"\"";
    // A key without a text shows the key itself.
    Command(L"Vontar\\*.txt", L"missing_label", program + L" /m %1");
    Command(L"Vontar\\*.*", L"t_second_command", program + L" /x %1");
    m_files.Write("a.txt", "1");
    m_files.Make("folder");
    struct Case
    {
        const char* name;
        std::wstring path;
        std::vector<std::string> menu;
    };
    const Case cases[] = {
        {"one command inline, with the bitmap",
         m_files / L"a.txt",
         {"query 00000001", "item 100 missing_label 1"}},
        {"a submenu with the bitmap, its items without",
         m_files / L"folder",
         {"query 00000003", "submenu 102 Vontar 1", "  item 100 shell_ext_3_shred@DE 0",
          "  item 101 t_second_command@DE 0"}},
    };
    for (const Case& c : cases) {
        const Run run = PlayExplorer("shell", -1, {c.path});
        EXPECT_EQ(MenuLines(run.host), c.menu) << c.name;
    }
}

TEST_F(RegisteredExplorermenu, MissingConfigurationOrDataObject)
{
    m_files.Write("a.txt", "1");
    Run run = PlayExplorer("shell", -1, {m_files / L"a.txt"});
    EXPECT_EQ(Only(run.host, "query "), (std::vector<std::string>{"query 00000000"}));
    EXPECT_EQ(Only(run.host, "string 4 "), (std::vector<std::string>{"string 4 80070057 "}));
    run = PlayExplorer("none", -1, {});
    EXPECT_EQ(run.host.front(), "init 80070057");
}

}  // namespace
}  // namespace shellmenu
