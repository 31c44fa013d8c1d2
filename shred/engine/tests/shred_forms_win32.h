// What the tests of target forms on real files share: the forms a caller may write with the files
// each must reach, a tree with canaries beside, above and inside the target, and the current
// folder restored after a test moved it.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace shred::testing {

// What a form of the target names: which files of the tree it reaches.
struct TargetForm
{
    std::wstring text;         // "%R" stands for the root, "%D" for its drive letter
    std::wstring shredPrefix;  // files whose relative path starts with this are the target
    std::wstring shredSuffix;  // ... and end with this
    bool nested = true;        // false: files directly in the prefix folder only
    bool refused = false;      // nothing is reached, the call reports a missing path
};

// Written for a run whose current folder is the tree's root, so that relative and drive-relative
// forms name the tree. A trailing separator is refused here (the engine's reading).
std::vector<TargetForm> TargetForms();

std::wstring ExpandForm(std::wstring text, const std::wstring& root);
bool IsFormTarget(const TargetForm& form, const std::wstring& relative);

// The path with its short (8.3) names expanded; the path itself when it cannot be.
std::wstring LongForm(const std::wstring& path);

// Paths relative to the root, folders before what they hold. Canaries sit above and beside
// "t\tgt" (some under the names inside it); the target holds files directly and in random
// sub-folders.
struct FormsTreeLayout
{
    std::vector<std::wstring> folders;
    std::vector<std::wstring> files;
};
FormsTreeLayout MakeFormsTreeLayout(std::mt19937& random, std::uint32_t seed);

// Restores the process's current folder when it goes.
class CurrentFolderGuard
{
public:
    CurrentFolderGuard();
    ~CurrentFolderGuard();
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

    const std::wstring& Saved() const { return m_saved; }

private:
    std::wstring m_saved;
};

}  // namespace shred::testing
