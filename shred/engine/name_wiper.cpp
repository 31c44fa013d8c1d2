#include "shred/engine/name_wiper.h"

#include "shred/engine/shred_target.h"

namespace shred {
namespace {

// The long name fills the path to 258 characters: 'a' up to index 253, then ".aaa".
constexpr std::size_t kLongNameDotIndex = 254;

std::wstring FolderPart(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Every successful move makes the new name current; a failed one leaves the object where it was,
// so that a later step never acts on a name that belongs to somebody else.
void MoveToLongName(IShredSystem& system, std::wstring& current)
{
    const std::wstring folder = FolderPart(current);
    if (folder.size() >= kLongNameDotIndex)
        return;  // no room for even one 'a': the step is skipped
    const std::wstring longName =
        folder + std::wstring(kLongNameDotIndex - folder.size(), L'a') + L".aaa";
    if (system.Move(current, longName))
        current = longName;
}

void MoveToOneLetterName(IShredSystem& system, std::wstring& current)
{
    const std::wstring folder = FolderPart(current);
    for (wchar_t letter = L'a'; letter <= L'z'; ++letter) {
        // The system drops the trailing dot: the object is named by the letter alone.
        const std::wstring candidate = folder + letter + L".";
        if (system.Facts(candidate).exists)
            continue;
        if (system.Move(current, candidate)) {
            current = candidate;
            return;
        }
    }
}

// Only an empty folder goes: whatever is still inside was never overwritten.
ShredResult RemoveFolderObject(IShredSystem& system, const std::wstring& current)
{
    if (system.RemoveFolder(current) || system.RemoveFile(current))
        return kShredDone;
    return kShredFolderFailed;
}

ShredResult RemoveFileObject(IShredSystem& system, const std::wstring& current)
{
    {
        std::unique_ptr<IShredFile> file = system.Open(current, OpenOptions{false, false});
        if (!file)
            return kShredRemoveFailed;
        // The length and the times only hide what the file was; the data is already overwritten,
        // so a failure here does not stop the deletion.
        file->Seek(0);
        file->SetEndOfFile();
        file->SetTimes(kDosEpochFileTime);
    }
    return system.RemoveFile(current) ? kShredDone : kShredRemoveFailed;
}

}  // namespace

bool MakeRandomName(IShredSystem& system, CrtRandom& random, std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    const std::size_t start = slash == std::wstring::npos ? 0 : slash + 1;
    if (start >= path.size())
        return false;
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t keep = dot != std::wstring::npos && dot >= start ? dot : std::wstring::npos;

    // One seed per name: reseeding within the same second would draw the same name again.
    random.Seed(system.Seconds());
    random.Next();
    std::wstring candidate = path;
    for (int draw = 0; draw < kMaxRandomNameDraws; ++draw) {
        for (std::size_t i = candidate.size(); i-- > start;) {
            if (i != keep)
                candidate[i] = static_cast<wchar_t>(L'a' + random.Next() % 26);
        }
        if (!system.Facts(candidate).exists) {
            path = candidate;
            return true;
        }
    }
    return false;
}

ShredResult WipeNameAndRemove(IShredSystem& system, const std::wstring& path)
{
    const ObjectFacts facts = system.Facts(path);
    CrtRandom random;
    std::wstring current = path;
    if (!MakeRandomName(system, random, current) || !system.Move(path, current))
        return kShredRenameFailed;
    if (system.IsNtFamily()) {
        MoveToLongName(system, current);
        MoveToOneLetterName(system, current);
    }
    if (facts.isLink) {
        // Only the link goes; whatever it points to is not ours.
        const bool removed =
            facts.isFolder ? system.RemoveFolder(current) : system.RemoveFile(current);
        if (removed)
            return kShredDone;
        return facts.isFolder ? kShredFolderFailed : kShredRemoveFailed;
    }
    if (facts.isFolder)
        return RemoveFolderObject(system, current);
    return RemoveFileObject(system, current);
}

int DeleteTree(IShredSystem& system, const std::wstring& path)
{
    const ObjectFacts facts = system.Facts(path);
    if (!facts.exists)
        return -1;
    if (facts.isLink) {
        if (facts.isFolder)
            return system.RemoveFolder(path) ? 1 : -2;
        return system.RemoveFile(path) ? 1 : -1;
    }
    if (facts.isFolder) {
        // A name the system would read as a pattern or a path could reach other objects.
        for (const FolderEntry& entry : system.List(path)) {
            if (IsLiteralName(entry.name))
                DeleteTree(system, JoinPath(path, entry.name));
        }
        return system.RemoveFolder(path) ? 1 : -2;
    }
    return system.RemoveFile(path) ? 1 : -1;
}

}  // namespace shred
