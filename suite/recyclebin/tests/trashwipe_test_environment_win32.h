// What the Win32 tests of Trashwipe run with: the real shred engine and the tests' own image and
// snapshot-prompt libraries, recorded windows instead of real message boxes, a fixed clock, fake
// texts and settings, a fixture Recycle Bin, and Trashwipe.dll for its dialogs and bitmaps.
#pragma once

#include "suite/common/tests/suite_test_support.h"
#include "suite/recyclebin/filewipe_engine_win32.h"
#include "suite/recyclebin/tests/fake_texts.h"
#include "suite/recyclebin/tests/fixture_recycle_bin_win32.h"
#include "suite/recyclebin/trashwipe_environment_win32.h"
#include "tests/support/scratch_folder_win32.h"

#include <windows.h>

#include <ctime>
#include <set>

namespace trashwipe::testing {

// Filewipe from its build folder, the fakes from theirs; a library named in `missing` is nowhere.
class LibraryLocator final : public suite::ISuiteLocator
{
public:
    std::wstring SuiteLibraryFolder(std::wstring_view fileName) override
    {
        const std::wstring name(fileName);
        if (missing.count(name))
            return L"C:\\no\\such\\folder";
        if (name == kShredLibrary) {
            const std::string folder = FILEWIPE_FOLDER;
            return std::wstring(folder.begin(), folder.end());
        }
        return suite::testing::ProgramFolder() + L"trashwipe_fakes";
    }
    std::wstring ModuleFolder() override { return suite::testing::ProgramFolder(); }
    std::set<std::wstring> missing;
};

class RecordingUi final : public IUiServices
{
public:
    void Show(std::wstring_view text, std::wstring_view caption, suite::MessageIcon) override
    {
        shown.emplace_back(text);
        captions.emplace_back(caption);
    }
    std::optional<std::wstring> AskSavePath(const std::wstring& proposed,
                                            const std::wstring&) override
    {
        savePrompts.push_back(proposed);
        return saveAnswer;
    }
    void OpenDocument(const std::wstring& path) override { opened.push_back(path); }

    std::vector<std::wstring> shown;
    std::vector<std::wstring> captions;
    std::vector<std::wstring> savePrompts;
    std::optional<std::wstring> saveAnswer;
    std::vector<std::wstring> opened;
};

// Time moves by `step` seconds at each reading; local time is UTC.
class FixedClock final : public ILogClock
{
public:
    std::int64_t Now() override
    {
        const std::int64_t t = now;
        now += step;
        return t;
    }
    std::optional<std::tm> LocalTime(std::int64_t seconds) override
    {
        const std::time_t time = static_cast<std::time_t>(seconds);
        std::tm utc{};
        if (::gmtime_s(&utc, &time) != 0)
            return std::nullopt;
        return utc;
    }
    std::int64_t now = 1700000000;  // 2023-11-14 22:13:20 UTC
    std::int64_t step = 0;
};

inline constexpr wchar_t kTestProduct[] = L"Trashwipe Test";

// A file, a folder holding two files and a dot file, and two entries from one former path.
inline FixtureRecycleBin MakeSampleBin(const testsupport::ScratchFolder& scratch)
{
    scratch.Make("bin\\$R2\\sub");
    scratch.Write("bin\\$R1.txt", "one");
    scratch.Write("bin\\$R2\\a.txt", "aa");
    scratch.Write("bin\\$R2\\sub\\b.txt", "bbb");
    scratch.Write("bin\\$R2\\.hidden", "h");
    scratch.Write("bin\\$R3.txt", "three");
    scratch.Write("bin\\manifest.txt",
                  "$R1.txt|C:\\Docs\\same.txt\n$R2|C:\\Docs\\Folder\n"
                  "$R3.txt|C:\\Docs\\same.txt\n");
    return FixtureRecycleBin(scratch / L"bin");
}

// A log template with the header markers the tests read and one row block.
inline void WriteLogTemplate(const testsupport::ScratchFolder& scratch)
{
    scratch.Make("template");
    scratch.Write("template\\logfile.html",
                  "<html><!--VAR_TEXT_TITLE--> <!--VAR_DATE--> <!--VAR_NO_OF_FILES-->\r\n"
                  "<table><!--TABLE_ROW_START--><tr><td><!--SRC_FILE_PATH--> | "
                  "<!--DEST_FILE--> | <!--IMG_STATUS_SMALL--> "
                  "<!--VAR_TEXT_DETAILED_REPORT_PROCESS_OPERATION_MESSAGE_1--></td></tr>\r\n"
                  "<!--TABLE_ROW_END--></table>\r\n"
                  "<p><img src=\"<!--IMG_STATUS-->\"><!--VAR_TEXT_OVERARCHING_STATUS_2--> "
                  "<!--VAR_TEXT_SUMMERY_52--> <!--VAR_TEXT_SUMMERY_62--></p></html>\r\n");
}

// Everything a Trashwipe call needs, with the fixture bin, template and log folder in `scratch`.
class TestEnvironment
{
public:
    explicit TestEnvironment(const testsupport::ScratchFolder& scratch)
        : bin(MakeSampleBin(scratch)),
          engine(locator, ui),
          module(::LoadLibraryW((suite::testing::ProgramFolder() + L"Trashwipe.dll").c_str()))
    {
        WriteLogTemplate(scratch);
        texts.texts[{L"dateformat", -1}] = L"%Y-%m-%d";
        const std::wstring machineKey = settings.MachineSettingsKey(kTestProduct);
        store.strings[machineKey + L"|TemplatePath"] = scratch / L"template";
        store.strings[machineKey + L"|LogPath"] = scratch / L"logs";
        logFolder = scratch / L"logs";
    }

    TrashwipeEnvironment Environment(IShredEngine* otherEngine = nullptr)
    {
        return {module.Get(),
                texts,
                nullptr,
                settings,
                ui,
                locator,
                bin,
                otherEngine ? *otherEngine : engine,
                clock,
                version,
                [this] { return oldBinFiles; }};
    }

    // The log files written so far.
    std::vector<std::wstring> Logs() const { return testsupport::FolderNames(logFolder); }
    std::string LogText(const std::wstring& name) const
    {
        const auto bytes = testsupport::ReadWholeFile(logFolder + L"\\" + name);
        return std::string(bytes.begin(), bytes.end());
    }

    FakeTexts texts;
    FakeStore store;
    TrashwipeSettings settings{kTestProduct, texts, store};
    RecordingUi ui;
    LibraryLocator locator;
    FixtureRecycleBin bin;
    FilewipeEngine engine;
    FixedClock clock;
    WindowsVersion version{6, 1};
    std::vector<OldBinFile> oldBinFiles;
    core::UniqueModule module;
    std::wstring logFolder;
};

}  // namespace trashwipe::testing
