#include "shred/engine/shred_target.h"

#include <algorithm>
#include <vector>

namespace shred {
namespace {

// The system's wildcards include the DOS forms of '*', '?' and '.'.
constexpr std::wstring_view kWildcards = L"*?<>\"";

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool HasDrive(std::wstring_view path)
{
    return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':';
}

// A full path cut into its root ("C:" or "\\server\share") and its names, or nothing when the
// path is not full.
struct FullPath
{
    std::wstring root;
    std::vector<std::wstring> names;
};

std::optional<FullPath> SplitRoot(std::wstring_view path)
{
    FullPath full;
    std::size_t rest = 0;
    if (HasDrive(path) && path.size() >= 3 && IsSeparator(path[2])) {
        full.root = std::wstring(path.substr(0, 2));
        rest = 3;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // Device and verbatim paths ("\\?\", "\\.\") skip the system's own resolution: refused.
        if (path.size() >= 3 && (path[2] == L'?' || path[2] == L'.'))
            return std::nullopt;
        const std::size_t serverEnd = path.find_first_of(L"\\/", 2);
        if (serverEnd == std::wstring_view::npos || serverEnd == 2)
            return std::nullopt;
        const std::size_t shareEnd =
            std::min(path.find_first_of(L"\\/", serverEnd + 1), path.size());
        if (shareEnd == serverEnd + 1)
            return std::nullopt;
        full.root = L"\\\\" + std::wstring(path.substr(2, serverEnd - 2)) + L"\\" +
                    std::wstring(path.substr(serverEnd + 1, shareEnd - serverEnd - 1));
        rest = shareEnd;
    } else {
        return std::nullopt;
    }
    std::size_t start = rest;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring_view::npos)
            end = path.size();
        if (end > start)
            full.names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return full;
}

std::wstring_view TrimTrailing(std::wstring_view name, std::wstring_view characters)
{
    const std::size_t last = name.find_last_not_of(characters);
    return last == std::wstring_view::npos ? std::wstring_view() : name.substr(0, last + 1);
}

// The full text the caller's path stands for, before its names are resolved.
std::optional<std::wstring> Absolute(IShredSystem& system, std::wstring_view path)
{
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return std::wstring(path);
    if (HasDrive(path)) {
        if (path.size() >= 3 && IsSeparator(path[2]))
            return std::wstring(path);
        if (path.size() == 2)
            return std::nullopt;  // a bare drive names its current folder: never a target
        return system.DriveCurrentFolder(path[0]) + L"\\" + std::wstring(path.substr(2));
    }
    const std::wstring current = system.CurrentFolder();
    if (!path.empty() && IsSeparator(path[0])) {
        const std::optional<FullPath> base = SplitRoot(current);
        if (!base)
            return std::nullopt;
        return base->root + std::wstring(path);
    }
    return current + L"\\" + std::wstring(path);
}

}  // namespace

bool HasWildcard(std::wstring_view name)
{
    return name.find_first_of(kWildcards) != std::wstring_view::npos;
}

bool IsLiteralName(std::wstring_view name)
{
    if (name.empty() || name == L"." || name == L"..")
        return false;
    if (name.find_first_of(L"\\/") != std::wstring_view::npos || HasWildcard(name))
        return false;
    return name.back() != L'.' && name.back() != L' ';
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    return folder + L"\\" + name;
}

std::optional<ShredTarget> ResolveShredTarget(IShredSystem& system, std::wstring_view path)
{
    // A trailing separator names a folder's inside, which is no object (and keeps roots out).
    if (path.empty() || IsSeparator(path.back()))
        return std::nullopt;
    const std::optional<std::wstring> absolute = Absolute(system, path);
    if (!absolute)
        return std::nullopt;
    std::optional<FullPath> full = SplitRoot(*absolute);
    if (!full)
        return std::nullopt;

    std::vector<std::wstring> names;
    for (const std::wstring& name : full->names) {
        if (name == L"..") {
            if (!names.empty())
                names.pop_back();
        } else if (name != L".") {
            names.push_back(name);
        }
    }
    if (names.empty())
        return std::nullopt;
    // Then the system trims: one trailing dot of a folder name ("a." but not ".."), every
    // trailing dot and space of the last name.
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::wstring& name = names[i];
        if (i + 1 == names.size()) {
            const std::wstring_view trimmed = TrimTrailing(name, L". ");
            // The system reads a trailing dot of a pattern in its own ways ("*." is "no
            // extension"); trimming it would widen the pattern.
            if (trimmed.size() != name.size() && HasWildcard(name))
                return std::nullopt;
            name = std::wstring(trimmed);
        } else if (name.size() >= 2 && name.back() == L'.' && name[name.size() - 2] != L'.')
            name.pop_back();
        if (name.empty())
            return std::nullopt;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        if (names[i].find(L':') != std::wstring::npos || (!last && HasWildcard(names[i])))
            return std::nullopt;
    }

    ShredTarget target;
    target.folder = full->root;
    for (std::size_t i = 0; i + 1 < names.size(); ++i)
        target.folder = JoinPath(target.folder, names[i]);
    if (names.size() > 1) {
        // The folder's short (8.3) names expanded, as long as the answer is the same folder's
        // full path (a root is left alone: "C:" alone would name a current folder).
        std::wstring longFolder = system.LongPath(target.folder);
        const std::optional<FullPath> longFull = SplitRoot(longFolder);
        if (longFull && longFull->root.size() == full->root.size() &&
            longFull->names.size() == names.size() - 1 && !IsSeparator(longFolder.back()))
            target.folder = std::move(longFolder);
    }
    target.name = names.back();
    target.isPattern = HasWildcard(target.name);
    return target;
}

}  // namespace shred
