// Real files under Wine: the folder slack wiper given the target in every form a caller may use,
// with canaries beside, above and inside the target; it must open exactly the target's files and
// change the bytes and size of none.
#include "shred/engine/tests/shred_backing.h"
#include "shred/engine/tests/shred_forms_win32.h"
#include "shred/engine/tests/shred_test_support.h"
#include "shred/wipers/progress_file_win32.h"
#include "shred/wipers/slack_exports.h"
#include "shred/wipers/slack_win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>

namespace shred::wipers::testing {
namespace {

using shred::testing::CurrentFolderGuard;
using shred::testing::TargetForm;

constexpr std::uint32_t kSeed = 20261211;
constexpr int kTrees = 2;

// The real system, keeping every path the wiper opens for a slack wipe.
class RecordingSlackSystem : public ISlackSystem
{
public:
    explicit RecordingSlackSystem(ISlackSystem& inner) : m_inner(inner) {}

    std::vector<std::wstring> opened;

    SlackFacts Facts(const std::wstring& path) override { return m_inner.Facts(path); }
    bool ClusterSize(const std::wstring& root, std::uint32_t& size) override
    {
        return m_inner.ClusterSize(root, size);
    }
    bool GetAttributes(const std::wstring& path, std::uint32_t& attributes) override
    {
        return m_inner.GetAttributes(path, attributes);
    }
    bool SetAttributes(const std::wstring& path, std::uint32_t attributes) override
    {
        return m_inner.SetAttributes(path, attributes);
    }
    std::unique_ptr<ISlackFile> OpenForSlack(const std::wstring& path) override
    {
        opened.push_back(path);
        return m_inner.OpenForSlack(path);
    }
    std::vector<SlackEntry> FindMatches(const std::wstring& pattern) override
    {
        return m_inner.FindMatches(pattern);
    }
    std::uint32_t LastError() override { return m_inner.LastError(); }
    std::unique_ptr<ISlackEvent> CreateRunEvent(const std::wstring& name) override
    {
        return m_inner.CreateRunEvent(name);
    }
    void WaitForRun(void** pauseEvent) override { m_inner.WaitForRun(pauseEvent); }
    std::uint32_t Seconds() override { return m_inner.Seconds(); }
    void Print(std::string_view text) override { m_inner.Print(text); }

private:
    ISlackSystem& m_inner;
};

TEST(SlackForms, EveryFormWipesExactlyItsTargetAndChangesNoFile)
{
    const CurrentFolderGuard folder;
    for (int tree = 0; tree < kTrees; ++tree) {
        for (TargetForm form : shred::testing::TargetForms()) {
            // The slack wiper reads a trailing separator as the folder's inside.
            if (form.text.ends_with(L"\\")) {
                form.refused = false;
                form.shredPrefix = L"t\\tgt\\";
            }
            const std::uint32_t seed = kSeed + static_cast<std::uint32_t>(tree);
            SCOPED_TRACE("seed " + std::to_string(seed) + " form " +
                         ::testing::PrintToString(form.text));
            std::mt19937 random(seed);
            shred::testing::Win32Backing backing;
            const std::wstring root = shred::testing::LongForm(backing.Root());
            ASSERT_TRUE(::SetCurrentDirectoryW(root.c_str()));
            const shred::testing::FormsTreeLayout layout =
                shred::testing::MakeFormsTreeLayout(random, seed);
            for (const std::wstring& name : layout.folders)
                backing.MakeFolder(root + L"\\" + name);
            std::map<std::wstring, std::vector<std::uint8_t>> bytes;
            std::vector<std::wstring> expected;
            for (const std::wstring& name : layout.files) {
                std::vector<std::uint8_t>& content = bytes[name];
                content = shred::testing::Original(1 + random() % 70000);
                std::rotate(content.begin(), content.begin() + random() % 251, content.end());
                backing.MakeFile(root + L"\\" + name, content);
                if (shred::testing::IsFormTarget(form, name))
                    expected.push_back(root + L"\\" + name);
            }

            RecordingSlackSystem system(DefaultSlackSystem());
            void* runEvent = nullptr;  // no named event: the run goes on
            SlackRequest request;
            request.path = shred::testing::ExpandForm(form.text, root);
            request.pauseEvent = &runEvent;
            const int result =
                WipeFileSlack(request, system, DefaultProgressSystem(), DefaultSlackServices());

            EXPECT_EQ(result, form.refused ? kSlackNotFound : kSlackDone);
            EXPECT_EQ(form.refused, expected.empty());
            EXPECT_THAT(system.opened, ::testing::UnorderedElementsAreArray(expected));
            for (const auto& [name, content] : bytes)
                EXPECT_EQ(backing.Read(root + L"\\" + name), content)
                    << ::testing::PrintToString(name);
            ASSERT_TRUE(::SetCurrentDirectoryW(folder.Saved().c_str()));
        }
    }
}

}  // namespace
}  // namespace shred::wipers::testing
