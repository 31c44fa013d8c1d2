// Real files under Wine: random trees with canaries beside, above and inside the target, the
// target written in every form a caller may use, and every file the engine reports shredded
// read back through a hard link made beforehand.
#include "shred/engine/tests/shred_forms_win32.h"
#include "core/unique_handle.h"
#include "shred/engine/name_wiper.h"
#include "shred/engine/shred_exports.h"
#include "shred/engine/tests/shred_backing.h"
#include "shred/engine/tests/shred_test_support.h"
#include "shred/engine/tests/walk_recorder.h"
#include "shred/engine/system_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <random>

namespace shred::testing {
namespace {

constexpr std::uint32_t kSeed = 20261210;
constexpr int kTrees = 3;

struct TreeFile
{
    std::wstring path;  // relative to the root
    std::vector<std::uint8_t> bytes;
    std::wstring link;         // full path of the hard link
    bool overwritten = false;  // seen holding nothing but the last pass's bytes (zeros)
};

struct TreeRun
{
    std::map<std::wstring, TreeFile> files;  // by path relative to the root
    std::vector<DoneCall> done;
};

bool AllZero(const std::vector<std::uint8_t>& bytes, std::size_t size)
{
    return bytes.size() == size &&
           std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::optional<std::vector<std::uint8_t>> ReadBytes(const std::wstring& path)
{
    core::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return std::nullopt;
    return bytes;
}

// At the last chunk of the last pass the file in progress is fully overwritten: whatever link
// reads back as zeros now was overwritten, whatever happens to its name later.
void SHRED_CALLBACK CheckLinks(void* ctx, int percent, int, int, int, std::uint64_t, void**, float,
                               std::uint64_t)
{
    if (percent != 100)
        return;
    for (auto& [name, file] : static_cast<TreeRun*>(ctx)->files) {
        const std::optional<std::vector<std::uint8_t>> bytes = ReadBytes(file.link);
        if (bytes && AllZero(*bytes, file.bytes.size()))
            file.overwritten = true;
    }
}

void SHRED_CALLBACK RecordTreeDone(void* ctx, core::CStringW path, int kind, int result)
{
    const core::CStringHolder holder = core::CStringHolder::Adopt(path);
    static_cast<TreeRun*>(ctx)->done.push_back(DoneCall{std::wstring(holder.View()), kind, result});
}

class ShredFormsTest : public ::testing::Test
{
protected:
    CurrentFolderGuard m_folder;
};

TEST_F(ShredFormsTest, EveryFormShredsExactlyItsTargetAndEverySuccessIsTrue)
{
    // The engine runs with the current folder at the root, so that relative and drive-relative
    // forms name the tree.
    const std::vector<TargetForm> forms = TargetForms();
    Win32Backing probe;
    {
        // Hard links are how the test sees the bytes of a file whose name is gone.
        const std::wstring a = probe.Root() + L"\\a";
        const std::wstring b = probe.Root() + L"\\b";
        probe.MakeFile(a, {1, 2, 3});
        ASSERT_TRUE(::CreateHardLinkW(b.c_str(), a.c_str(), nullptr));
        probe.MakeFile(a, {4, 5});
        ASSERT_EQ(probe.Read(b), (std::vector<std::uint8_t>{4, 5}));
    }

    for (int tree = 0; tree < kTrees; ++tree) {
        for (const TargetForm& form : forms) {
            const std::uint32_t seed = kSeed + static_cast<std::uint32_t>(tree);
            SCOPED_TRACE("seed " + std::to_string(seed) + " form " +
                         ::testing::PrintToString(form.text));
            std::mt19937 random(seed);
            Win32Backing backing;
            const std::wstring root = LongForm(backing.Root());
            ASSERT_TRUE(::SetCurrentDirectoryW(root.c_str()));
            backing.MakeFolder(root + L"\\links");
            const FormsTreeLayout layout = MakeFormsTreeLayout(random, seed);
            for (const std::wstring& folder : layout.folders)
                backing.MakeFolder(root + L"\\" + folder);

            TreeRun run;
            int counter = 0;
            for (const std::wstring& relative : layout.files) {
                TreeFile file;
                file.path = relative;
                file.bytes = Original(1 + random() % 70000);
                std::rotate(file.bytes.begin(), file.bytes.begin() + random() % 251,
                            file.bytes.end());
                file.link = root + L"\\links\\" + std::to_wstring(counter++);
                backing.MakeFile(root + L"\\" + relative, file.bytes);
                ASSERT_TRUE(::CreateHardLinkW(file.link.c_str(), (root + L"\\" + relative).c_str(),
                                              nullptr));
                run.files[relative] = file;
            }
            if (HasFatalFailure())
                return;
            ::SetFileAttributesW((root + L"\\t\\f1.bin").c_str(), FILE_ATTRIBUTE_READONLY);

            const std::wstring text = ExpandForm(form.text, root);
            const int result = ExportShredFile(kFilewipe, text.c_str(), 0, &run, nullptr, nullptr,
                                               CheckLinks, RecordTreeDone, 0);

            bool anyTarget = false;
            for (const auto& [path, file] : run.files) {
                const bool target = IsFormTarget(form, path);
                anyTarget = anyTarget || target;
                const bool inPlace = backing.Exists(root + L"\\" + path);
                if (!target) {
                    EXPECT_TRUE(inPlace) << "canary gone: " << ::testing::PrintToString(path);
                    EXPECT_EQ(backing.Read(file.link), file.bytes)
                        << "canary changed: " << ::testing::PrintToString(path);
                    continue;
                }
                // Nothing leaves its place without having been overwritten.
                if (!inPlace) {
                    EXPECT_TRUE(file.overwritten)
                        << "removed unoverwritten: " << ::testing::PrintToString(path);
                }
                if (result == kShredDone) {
                    EXPECT_FALSE(inPlace) << ::testing::PrintToString(path);
                    EXPECT_TRUE(file.overwritten) << ::testing::PrintToString(path);
                }
            }
            EXPECT_NE(
                ::GetFileAttributesW((root + L"\\t\\f1.bin").c_str()) & FILE_ATTRIBUTE_READONLY,
                0u);
            ::SetFileAttributesW((root + L"\\t\\f1.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
            if (form.refused) {
                EXPECT_EQ(result, kShredNotFound);
            } else {
                EXPECT_TRUE(anyTarget);
                EXPECT_EQ(result, kShredDone);
            }
            // Every file reported shredded reads back overwritten through its link.
            for (const DoneCall& done : run.done) {
                if (done.kind != kDoneKindFile || done.result != kShredDone)
                    continue;
                ASSERT_TRUE(done.path.starts_with(root + L"\\"))
                    << ::testing::PrintToString(done.path);
                const auto it = run.files.find(done.path.substr(root.size() + 1));
                ASSERT_NE(it, run.files.end()) << ::testing::PrintToString(done.path);
                EXPECT_TRUE(it->second.overwritten) << ::testing::PrintToString(done.path);
            }
            ASSERT_TRUE(::SetCurrentDirectoryW(m_folder.Saved().c_str()));
        }
    }
}

TEST(ShredFilePart, NeverExtendsARealFile)
{
    struct Case
    {
        const char* name;
        unsigned long offsetLow;
        long offsetHigh;
        unsigned long length;
        std::size_t zeros;  // leading bytes overwritten
    };
    const std::vector<Case> cases{
        {"past the end", 0, 0, 5000, 1000},
        {"100 MB in", 100u << 20, 0, 10, 0},
        {"above 4 GiB", 0, 1, 10, 0},
        {"inside", 0, 0, 400, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Win32Backing backing;
        const std::wstring path = backing.Root() + L"\\region.bin";
        backing.MakeFile(path, Original(1000));
        void* handle = ExportCreateFileHandle(path.c_str());
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(ExportShredFilePart(kFilewipe, handle, 0, c.offsetLow, c.offsetHigh, c.length, 0),
                  kShredDone);
        EXPECT_EQ(ExportCloseFileHandle(handle), 1);
        std::vector<std::uint8_t> expected = Original(1000);
        std::fill_n(expected.begin(), c.zeros, 0);
        EXPECT_EQ(backing.Read(path), expected);
    }
}

}  // namespace
}  // namespace shred::testing
