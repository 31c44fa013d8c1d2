// Deployrun as a process under Windows: setups written by the fixtures, run with the runner that
// answers message boxes and reads the trace back; exit codes, messages, the trace, the support
// folder, concurrent runs, language strings, plug-ins and a few statements end to end.
#include <windows.h>

#include <aclapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>
#include <vector>

#include "core/unique_handle.h"
#include "setup/engine/rtl/string_list.h"
#include "tests/support/compiled_script_builder.h"
#include "tests/support/loopback_http_server_win32.h"
#include "tests/support/process_runner_win32.h"
#include "tests/support/program_windows_win32.h"
#include "tests/support/setup_image_writer.h"
#include "tests/support/tiny_7z_writer.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ProcessResult;
using testsupport::SetupImage;

constexpr const char* kCaption = "Quillbay Wizard";
constexpr const char* kScratchKey = "Software\\Vontar Security\\Deployrun Tests";

std::string BinDir()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().string() + "\\";
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Clicks "&Next >" on every page the program shows until it is stopped, as a user who accepts
// every page would.
class NextClicker
{
public:
    explicit NextClicker(std::string program)
        : m_program(std::move(program)), m_thread([this] { Run(); })
    {
    }
    ~NextClicker()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    void Run()
    {
        while (!m_stop) {
            for (HWND page : testsupport::VisibleWindowsOf(m_program))
                if (HWND next = ::FindWindowExA(page, nullptr, "Button", "&Next >"))
                    ::PostMessageA(next, BM_CLICK, 0, 0);
            ::Sleep(200);
        }
    }

    std::string m_program;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class DeployrunProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_work = std::string(temp) + "deployrun-e2e-" + std::to_string(::GetCurrentProcessId()) +
                 "-" + std::to_string(++counter) + "\\";
        fs::remove_all(m_work);
        fs::create_directories(m_work + "tmp");
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_work, ignored);
    }

    // A complete setup: script, resource archive, package and archive library beside it.
    SetupImage Image(const std::string& description, const testsupport::ScriptProject& project = {})
    {
        SetupImage image;
        image.script =
            testsupport::BuildCompiledScript(testsupport::ParseStatements(description), project);
        image.resourceArchiveSource = BinDir() + "deployrun_fixture.res";
        image.packageSource = BinDir() + "deployrun_fixture.res";  // any file: it is only copied
        image.archiveLibrarySource = BinDir() + "qbr.lib";
        return image;
    }

    std::string Write(const SetupImage& image, const std::string& folder = "app")
    {
        // A fresh folder: nothing of an earlier setup may stand beside this one.
        fs::remove_all(m_work + folder);
        return testsupport::WriteSetupImage(m_work + folder, BinDir() + "Deployrun.exe", image);
    }

    ProcessResult Run(const std::string& program, const std::string& arguments = "")
    {
        return testsupport::RunProcess(program, Options(arguments));
    }

    testsupport::ProcessOptions Options(const std::string& arguments, const std::string& log = "")
    {
        testsupport::ProcessOptions options;
        options.traceFile = m_work + (log.empty() ? "trace.log" : log);
        options.arguments = "/l=" + options.traceFile + (arguments.empty() ? "" : " " + arguments);
        options.environment = {{"TMP", m_work + "tmp"}, {"TEMP", m_work + "tmp"}};
        return options;
    }

    std::vector<std::string> SupportFoldersLeft() const
    {
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(m_work + "tmp"))
            left.push_back(entry.path().filename().string());
        return left;
    }

    // The variables the probe plug-in saved, by name.
    std::map<std::string, std::string> Saved(const std::string& name = "saved.txt") const
    {
        const std::vector<std::string> items = setup::rtl::FromCommaText(ReadFile(m_work + name));
        std::map<std::string, std::string> variables;
        for (size_t i = 0; i + 1 < items.size(); i += 2)
            variables[items[i]] = items[i + 1];
        return variables;
    }

    // A script ending in a plug-in call that saves every variable.
    std::string SaveStatement(const std::string& name = "saved.txt") const
    {
        return "Call DLL Function | save:" + m_work + name + " | setup_probe_plugin.dll\n";
    }

    static testsupport::ScriptProject PluginProject()
    {
        testsupport::ScriptProject project;
        project.pluginCommands = {"Call DLL Function"};
        return project;
    }

    std::string m_work;
};

TEST_F(DeployrunProcessTest, StartUpFailuresEndWithTheirExitCodesAndMessages)
{
    struct Case
    {
        const char* name;
        void (*damage)(SetupImage&);
        std::uint32_t exitCode;
        const char* message;  // empty: no box even when not silent
    };
    const Case cases[] = {
        {"nothing appended", [](SetupImage& i) { i.script.clear(); }, 13, "For internal use only"},
        {"no resource archive", [](SetupImage& i) { i.resourceArchiveSource.reset(); }, 14,
         "Setup resource not found"},
        {"corrupt resource archive",
         [](SetupImage& i) {
             i.resourceArchiveSource = BinDir() + "deployrun_fixture_corrupt.res";
         },
         15, "Setup resource decompression failure"},
        {"no package", [](SetupImage& i) { i.packageSource.reset(); }, 16,
         "Setup database not found"},
        {"script fails its check",
         [](SetupImage& i) {
             i.script = testsupport::BuildCompiledScript(
                 testsupport::ParseStatements("Evaluate Expression | $TITLE$ == \"x\" | R\n"));
         },
         314, ""},
        {"damaged script",
         [](SetupImage& i) {
             testsupport::ScriptProject project;
             project.setupMode = "x";
             i.script = testsupport::BuildCompiledScript({}, project);
         },
         11, "Runtime error in install: "},
    };
    for (const Case& c : cases) {
        SetupImage image = Image("Set Variable | A | 1\n");
        c.damage(image);
        const std::string program = Write(image);
        for (const char* arguments : {"", "/qn"}) {
            const ProcessResult result = Run(program, arguments);
            EXPECT_EQ(result.exitCode, c.exitCode) << c.name << " " << arguments;
            const bool silent = std::string(arguments) == "/qn";
            if (silent || std::string(c.message).empty()) {
                EXPECT_TRUE(result.messageBoxes.empty()) << c.name << " " << arguments;
            } else {
                ASSERT_EQ(result.messageBoxes.size(), 1u) << c.name;
                EXPECT_EQ(result.messageBoxes[0].rfind(std::string(kCaption) + "|" + c.message, 0),
                          0u)
                    << result.messageBoxes[0];
            }
        }
    }
}

TEST_F(DeployrunProcessTest, IdentitiesWithoutBracedGuidsAreRefusedBeforeTheCacheIsTouched)
{
    // Canaries in the cache root, beside it, and where the climbing value leads from the default
    // root (four levels above the user's local application data).
    const std::string root = m_work + "cache\\";
    const std::vector<std::string> canaries = {root + "canary\\keep.txt",
                                               m_work + "VICTIM\\keep.txt", "C:\\VICTIM\\keep.txt"};
    struct Value
    {
        const char* name;
        std::string revisionCode;
        bool accepted;
    };
    const Value values[] = {
        {"climbs out of the root", "..\\..\\..\\..\\VICTIM", false},
        {"empty: the root itself", "", false},
        {"relative name", "canary", false},
        {"relative climb", "..\\VICTIM", false},
        {"unbraced GUID", "8A6B2C1D-0000-4000-8000-0000000000CB", false},
        {"GUID with trailing junk", "{8A6B2C1D-0000-4000-8000-0000000000CB}\\..", false},
        {"braced GUID", "{8A6B2C1D-0000-4000-8000-0000000000CB}", true},
    };
    // The revision code from the instance file beside the setup (normal and removal runs) or as
    // the script's own cache identifier.
    enum class Kind
    {
        InstanceNormal,
        InstanceRemoval,
        ScriptNormal
    };
    for (const Value& v : values) {
        for (const Kind kind : {Kind::InstanceNormal, Kind::InstanceRemoval, Kind::ScriptNormal}) {
            SCOPED_TRACE(std::string(v.name) + ", kind " + std::to_string(static_cast<int>(kind)));
            for (const std::string& canary : canaries) {
                fs::remove_all(fs::path(canary).parent_path());
                fs::create_directories(fs::path(canary).parent_path());
                std::ofstream(canary) << "canary";
            }
            const bool removal = kind == Kind::InstanceRemoval;
            testsupport::ScriptProject project;
            if (kind == Kind::ScriptNormal)
                project.cacheId = v.revisionCode;
            const std::string program = Write(Image(
                removal ? "Apply Changes | | RESULT | FALSE | TRUE\n" : "Set Variable | A | 1\n",
                project));
            const std::string instanceFile = m_work + "app\\instance.dat";
            if (kind != Kind::ScriptNormal) {
                std::ofstream(instanceFile, std::ios::binary)
                    << "{8A6B2C1D-0000-4000-8000-000000000001}\r\n"
                    << v.revisionCode << "\r\nVontar Wipestation\r\n";
            }
            const ProcessResult result =
                Run(program, std::string(removal ? "REMOVE=TRUE MODIFY=FALSE " : "") +
                                 "OVERRIDECACHE=" + root);

            for (const std::string& canary : canaries) {
                EXPECT_EQ(ReadFile(canary), "canary") << canary;
                const fs::path folder = fs::path(canary).parent_path();
                EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                          1)
                    << folder.string();
            }
            std::vector<std::string> inRoot;
            for (const auto& entry : fs::directory_iterator(root))
                inRoot.push_back(entry.path().filename().string());
            std::sort(inRoot.begin(), inRoot.end());
            if (v.accepted) {
                // The package is no real one, so a removal fails; either run records its state
                // in its own cache folder.
                if (!removal) {
                    EXPECT_EQ(result.exitCode, 0u);
                    EXPECT_TRUE(result.messageBoxes.empty());
                }
                EXPECT_EQ(inRoot, (std::vector<std::string>{"canary", v.revisionCode}));
            } else {
                EXPECT_EQ(result.exitCode, 11u);
                ASSERT_EQ(result.messageBoxes.size(), 1u);
                const std::string source =
                    kind == Kind::ScriptNormal ? "the setup script" : instanceFile;
                EXPECT_NE(result.messageBoxes[0].find("The revision code of " + source +
                                                      " is not a GUID in braces: \"" +
                                                      v.revisionCode + "\""),
                          std::string::npos)
                    << result.messageBoxes[0];
                EXPECT_EQ(inRoot, std::vector<std::string>{"canary"});
            }
        }
    }
    std::error_code ignored;
    fs::remove_all("C:\\VICTIM", ignored);
}

// A 24-bit bitmap of one colour, for the splash.
void WriteBitmap(const std::string& path, int width, int height)
{
    const int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(rowBytes * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out << std::string(info.biSizeImage, '\x40');
}

TEST_F(DeployrunProcessTest, ACleanRunTracesEveryStageAndLeavesNoSupportFolder)
{
    const std::vector<std::string> expected = {"<Quillbay>",
                                               "  <SetupSplash>",
                                               "    <StubSize>",
                                               "    </StubSize>",
                                               "    <StubData>",
                                               "    </StubData>",
                                               "    <GlobalLists>",
                                               "    </GlobalLists>",
                                               "    <SupportDir>",
                                               "    </SupportDir>",
                                               "    <ExtractArchive>",
                                               "    </ExtractArchive>",
                                               "    <ExtractResource>",
                                               "    </ExtractResource>",
                                               "    <ResourcePath>",
                                               "    </ResourcePath>",
                                               "    <Dialogs>",
                                               "    </Dialogs>",
                                               "  </SetupSplash>",
                                               "  <RunScript>",
                                               "    <Variables>",
                                               "    </Variables>",
                                               "    <CompileScript>",
                                               "    </CompileScript>",
                                               "    <BootStrap>",
                                               "    </BootStrap>",
                                               "    <tarq>",
                                               "    </tarq>",
                                               "    <ExitScript>",
                                               "    </ExitScript>",
                                               "  </RunScript>",
                                               "  <Free>",
                                               "  </Free>",
                                               "  <CachedSupportDir>",
                                               "  </CachedSupportDir>",
                                               "</Quillbay>"};
    // Silent, and with the splash and preparing windows (a page to preload advances the bar).
    for (const char* arguments : {"/qn", ""}) {
        const std::string program =
            Write(Image("Set Variable | A | 1\nDisplay Dialog | Welcome\n"));
        WriteBitmap(m_work + "app\\setup.bmp", 64, 48);
        // The welcome page waits for its Next button.
        NextClicker clicker(program);
        const ProcessResult result = Run(program, arguments);
        EXPECT_EQ(result.exitCode, 0u) << arguments;
        EXPECT_TRUE(result.messageBoxes.empty()) << arguments;
        EXPECT_EQ(result.trace, expected) << arguments;
        EXPECT_TRUE(SupportFoldersLeft().empty()) << arguments;
    }
}

TEST_F(DeployrunProcessTest, TheCommandLineReachesTheScript)
{
    const std::string program = Write(Image(SaveStatement(), PluginProject()));
    struct Case
    {
        std::string arguments;
        std::map<std::string, std::string> expected;
    };
    const Case cases[] = {
        {"/qn target=D:\\App", {{"SILENT", "TRUE"}, {"TARGET", "D:\\App"}}},
        {"-S /G=C:\\Policies\\Setup.MSI", {{"SILENT", "TRUE"}, {"GPOPATH", "c:\\policies\\"}}},
        {"/s /m=E:\\Packs\\Wipe.EXE", {{"SFXPATH", "e:\\packs\\"}, {"SFXFILE", "wipe.exe"}}},
        // An argument that merely holds a value switch is not one; a dash never assigns.
        {"/qn /x=1 -y=2 note=http://h/p=1", {{"NOTE", "http://h/p=1"}, {"GPOPATH", ""}}},
    };
    for (const Case& c : cases) {
        const ProcessResult result = Run(program, c.arguments);
        EXPECT_EQ(result.exitCode, 0u) << c.arguments;
        const auto saved = Saved();
        for (const auto& [name, value] : c.expected) {
            const auto found = saved.find(name);
            ASSERT_NE(found, saved.end()) << c.arguments << ": " << name;
            EXPECT_EQ(found->second, value) << c.arguments << ": " << name;
        }
        EXPECT_EQ(saved.count("X"), 0u);
        EXPECT_EQ(saved.count("-Y"), 0u);
        // The tail is the command line after the quoted program and its blank.
        EXPECT_EQ(saved.at("CMDLINE"), Options(c.arguments).arguments) << c.arguments;
    }
}

TEST_F(DeployrunProcessTest, TwoSetupsAtOnceEachGetTheirOwnSupportFolder)
{
    // The plug-in runs while the other setup starts, so both folders exist at the same time.
    const std::string first =
        Write(Image(SaveStatement("first.txt") + "Call DLL Function | until-cancel | "
                                                 "setup_probe_plugin.dll\n",
                    PluginProject()),
              "one");
    const std::string second = Write(Image(SaveStatement("second.txt"), PluginProject()), "two");
    testsupport::RunningProcess one(first, Options("/qn", "one.log"));
    testsupport::RunningProcess two(second, Options("/qn", "two.log"));
    const ProcessResult oneResult = one.Wait();
    const ProcessResult twoResult = two.Wait();
    EXPECT_EQ(oneResult.exitCode, 0u);
    EXPECT_EQ(twoResult.exitCode, 0u);
    EXPECT_EQ(oneResult.trace.back(), "</Quillbay>");
    EXPECT_EQ(twoResult.trace.back(), "</Quillbay>");
    const std::string firstFolder = Saved("first.txt").at("SUPPORTDIR");
    const std::string secondFolder = Saved("second.txt").at("SUPPORTDIR");
    EXPECT_NE(firstFolder, secondFolder);
    EXPECT_TRUE(SupportFoldersLeft().empty());
}

TEST_F(DeployrunProcessTest, LanguageStringsFollowTheUsersLanguage)
{
    // Run once as is and once more by CTest under a German locale.
    const char* expectedLanguage = std::getenv("SETUP_EXPECTED_USER_LANGUAGE");
    const std::string language = expectedLanguage ? expectedLanguage : "";
    SetupImage image = Image("Set Variable | A | 1\n");
    image.resourceArchiveSource.reset();
    std::vector<std::string> standard(2), german(2), swedish(2);
    standard[1] = "Standard: no resources";
    german[1] = "Deutsch: keine Ressourcen";
    swedish[1] = "Svenska: inga resurser";
    image.languageStrings =
        testsupport::BuildLanguageStrings(standard, {{"Swedish", swedish}, {"German", german}});
    const ProcessResult result = Run(Write(image));
    EXPECT_EQ(result.exitCode, 14u);
    ASSERT_EQ(result.messageBoxes.size(), 1u);
    const std::string expected = language == "German" ? german[1] : standard[1];
    EXPECT_EQ(result.messageBoxes[0], std::string(kCaption) + "|" + expected);
}

TEST_F(DeployrunProcessTest, PluginCommandsRunThroughTheProbePlugin)
{
    struct Case
    {
        const char* name;
        std::string statements;
        std::uint32_t exitCode;
        std::vector<std::string> messageBoxes;
        std::map<std::string, std::string> expected;  // "" value: the variable must be gone
    };
    // After the first statement the caption carries the product's title.
    const std::string missing = testsupport::ScriptProject().productTitle + " - " + kCaption +
                                "|Unable to load plug-in library. Please rebuild your project "
                                "and make sure all required plug-ins are installed.\r\rAction "
                                "skipped";
    const Case cases[] = {
        {"echo adds a variable",
         "Call DLL Function | echo | setup_probe_plugin.dll\n" + SaveStatement(),
         0,
         {},
         {{"PROBE", "seen"}}},
        {"a removed variable is gone",
         "Set Variable | DOOMED | 1\nCall DLL Function | remove:DOOMED | setup_probe_plugin.dll\n" +
             SaveStatement(),
         0,
         {},
         {{"DOOMED", ""}}},
        {"a failing plug-in changes nothing",
         "Set Variable | KEPT | yes\nCall DLL Function | fail | setup_probe_plugin.dll\n" +
             SaveStatement(),
         0,
         {},
         {{"KEPT", "yes"}}},
        {"an empty answer is a runtime error",
         "Call DLL Function | empty | setup_probe_plugin.dll\n",
         11,
         {},
         {}},
        {"a missing library is reported and skipped",
         "Call DLL Function | echo | absent.dll\n" + SaveStatement(),
         0,
         {missing},
         {{"PROBE", ""}}},
    };
    for (const Case& c : cases) {
        fs::remove(m_work + "saved.txt");
        const ProcessResult result = Run(Write(Image(c.statements, PluginProject())), "/qn");
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(result.messageBoxes, c.messageBoxes) << c.name;
        if (c.expected.empty())
            continue;
        const auto saved = Saved();
        for (const auto& [name, value] : c.expected) {
            if (value.empty())
                EXPECT_EQ(saved.count(name), 0u) << c.name << ": " << name;
            else
                EXPECT_EQ(saved.count(name) ? saved.at(name) : "(none)", value)
                    << c.name << ": " << name;
        }
    }
}

TEST_F(DeployrunProcessTest, WebMediaComeFromALoopbackServerAlsoAfterACutDownload)
{
    // The block holds the probe plug-in, which the statement that needs the block then runs.
    const std::string plugin = ReadFile(BinDir() + "setup_probe_plugin.dll");
    ASSERT_FALSE(plugin.empty());
    const std::vector<std::uint8_t> archive = standins::archive::testing::WriteTiny7z(
        {{u"Core\\setup_probe_plugin.dll", plugin}, {u"Core\\docs\\readme.txt", "read me"}});
    testsupport::LoopbackHttpServer server(
        {{"/media/Core.7zip", 200, std::string(archive.begin(), archive.end()), 0, 0, 0, 1}});
    ASSERT_TRUE(server.Started());

    std::vector<testsupport::ScriptStatement> statements = testsupport::ParseStatements(
        "Web Media Block | Core | " + server.Url("/media/Core.7zip") + "\n" + SaveStatement());
    statements[1].media = "Core\\";
    testsupport::ScriptProject project = PluginProject();
    project.setupMode = "2";
    SetupImage image = Image("", project);
    image.script = testsupport::BuildCompiledScript(statements, project);
    const std::string program = Write(image);
    const std::string arguments = "/qn OVERRIDECACHE=" + m_work + "cache\\";

    // The first answer stops half-way: no media, and the run fails before the plug-in.
    ProcessResult result = Run(program, arguments);
    EXPECT_NE(result.exitCode, 0u);
    EXPECT_FALSE(fs::exists(m_work + "saved.txt"));

    result = Run(program, arguments);
    EXPECT_EQ(result.exitCode, 0u);
    const std::string dataDir = Saved()["DATADIR"];
    ASSERT_FALSE(dataDir.empty());
    EXPECT_EQ(ReadFile(dataDir + "Core\\docs\\readme.txt"), "read me");
    EXPECT_TRUE(fs::exists(dataDir + "Core\\" + project.cacheId));
    // Placed, so the download is gone.
    EXPECT_FALSE(fs::exists(dataDir + "Core.7zip"));

    // A complete block is not fetched again.
    const std::size_t requests = server.Requests().size();
    fs::remove(m_work + "saved.txt");
    EXPECT_EQ(Run(program, arguments).exitCode, 0u);
    EXPECT_EQ(server.Requests().size(), requests);
    EXPECT_TRUE(fs::exists(m_work + "saved.txt"));
}

TEST_F(DeployrunProcessTest, BuiltInStatementsRunUnderTheProgram)
{
    core::UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    const char value[] = "21";
    ::RegSetValueExA(key.Get(), "Count", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     sizeof value);
    const std::string script =
        std::string("Set Variable | BASE | 2\n") + "Read Registry | COUNT | 1 | " + kScratchKey +
        " | Count\n" + "Mathematics | $COUNT$ | $BASE$ | 2 | PRODUCT\n" + "Delete Registry | 1 | " +
        kScratchKey + " | Count | FALSE\n" + SaveStatement();
    const ProcessResult result = Run(Write(Image(script, PluginProject())), "/qn");
    EXPECT_EQ(result.exitCode, 0u);
    const auto saved = Saved();
    EXPECT_EQ(saved.at("COUNT"), "21");
    EXPECT_EQ(saved.at("PRODUCT"), "42");
    EXPECT_NE(::RegQueryValueExA(key.Get(), "Count", nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
}

TEST_F(DeployrunProcessTest, FileAndComponentStatementsRunUnderTheProgram)
{
    const std::string list = m_work + "list.txt";
    testsupport::ScriptProject project = PluginProject();
    project.components = {{"TARQ-PREDEF-COMPONENT", "1000"}, {"Main", "2048"}};
    const std::string script = "Write to Text File | " + list + " | two | FALSE\n" +
                               "Write to Text File | " + list + " | one | TRUE\n" +
                               "Read from Text File | " + list + " | LINE | END\n" +
                               "Does File/Folder Exist | EXISTS | " + list + " | TRUE\n" +
                               "Does File/Folder Exist | NESTED | "
                               "$SUPPORTDIR$fixture_folder\\nested.txt | TRUE\n" +
                               "Get System Settings | CHECKSYSTEM | 24\n" +
                               "Get Component State | TARQ-PREDEF-COMPONENT | PREDEFINED\n" +
                               "Define Component | Main | TRUE | Main files\n" +
                               "Get Component Space | Main | MAINSIZE\n" + SaveStatement();
    const ProcessResult result = Run(Write(Image(script, project)), "/qn");
    EXPECT_EQ(result.exitCode, 0u);
    const auto saved = Saved();
    EXPECT_EQ(saved.at("LINE"), "one");
    EXPECT_EQ(saved.at("END"), "FALSE");
    EXPECT_EQ(saved.at("EXISTS"), "TRUE");
    // The resource archive's folders are kept in the support folder.
    EXPECT_EQ(saved.at("NESTED"), "TRUE");
    EXPECT_EQ(saved.at("CHECKSYSTEM"), "TRUE");
    // The predefined component and the compiled sizes come from the program's host.
    EXPECT_EQ(saved.at("PREDEFINED"), "TRUE");
    EXPECT_EQ(saved.at("MAINSIZE"), "2048");
}

TEST_F(DeployrunProcessTest, AccessControlStatementRunsUnderTheProgram)
{
    const std::string keyPath = std::string(kScratchKey) + "\\Access";
    core::UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    // Everyone gets full access on the key, inherited by its sub-keys.
    const std::string script = "Set Access Control | HKCU\\" + keyPath +
                               " | TRUE | | | | | | TRUE | TRUE | | | | | TRUE\n";
    const ProcessResult result = Run(Write(Image(script)), "/qn");
    EXPECT_EQ(result.exitCode, 0u);

    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::wstring name = L"CURRENT_USER\\";
    name += std::wstring(keyPath.begin(), keyPath.end());
    ASSERT_EQ(::GetNamedSecurityInfoW(name.c_str(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION,
                                      nullptr, nullptr, &dacl, nullptr, &descriptor),
              ERROR_SUCCESS);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    int everyoneEntries = 0;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ::GetAce(dacl, i, reinterpret_cast<void**>(&ace));
        if (!::EqualSid(&ace->SidStart, everyone))
            continue;
        ++everyoneEntries;
        EXPECT_EQ(ace->Mask, 0x1F01FFu);
        EXPECT_EQ(ace->Header.AceFlags, 3);
    }
    EXPECT_EQ(everyoneEntries, 1);
    ::FreeSid(everyone);
    ::LocalFree(descriptor);
    key = core::UniqueKey();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, keyPath.c_str());
}

}  // namespace
