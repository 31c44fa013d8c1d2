// An in-memory file system behind the engine's system table: files, folders, links and named
// streams (as "file:name:$DATA" entries), a ticking counter and a fixed clock.
#pragma once

#include "shred/engine/shred_system.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace shred::testing {

struct BackupEntry
{
    std::uint32_t id;  // 1 data, 4 alternate data
    std::wstring name;
    std::uint64_t dataSize;
};
// Bytes in the backup format: a 20-byte header per stream, the UTF-16 name, then dataSize bytes.
std::vector<std::uint8_t> MakeBackupImage(const std::vector<BackupEntry>& entries);
std::unique_ptr<IBackupStream> MakeBackupStream(std::vector<std::uint8_t> image);

class MemorySystem : public IShredSystem
{
public:
    void AddFolder(const std::wstring& path);
    void AddFile(const std::wstring& path, std::vector<std::uint8_t> data);
    // A link follows to target when opened, as the system does.
    void AddLink(const std::wstring& path, const std::wstring& target, bool isFolder);
    std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) const;
    bool Exists(const std::wstring& path) const;
    std::vector<std::wstring> Children(
        const std::wstring& folder) const;  // names, streams excluded

    std::uint32_t seconds = 1000;
    bool ntFamily = true;
    std::wstring currentFolder = L"C:\\work";
    std::map<wchar_t, std::wstring> driveFolders;  // others: the drive's root
    std::vector<ShredEventRecord> events;
    std::string printed;

    std::unique_ptr<IShredFile> Open(const std::wstring& path, const OpenOptions& options) override;
    std::unique_ptr<IBackupStream> OpenBackupRead(const std::wstring& path) override;
    ObjectFacts Facts(const std::wstring& path) override;
    bool SetNormalAttributes(const std::wstring& path) override;
    bool Move(const std::wstring& from, const std::wstring& to) override;
    bool RemoveFile(const std::wstring& path) override;
    bool RemoveFolder(const std::wstring& path) override;
    std::vector<FolderEntry> List(const std::wstring& folder) override;
    // '*' and '?' in the last component; "." and ".." are reported for "*" as the system does.
    std::vector<FolderEntry> FindMatches(const std::wstring& pattern) override;
    std::wstring LongPath(const std::wstring& path) override { return path; }
    std::wstring CurrentFolder() override { return currentFolder; }
    std::wstring DriveCurrentFolder(wchar_t drive) override
    {
        const auto it = driveFolders.find(drive);
        return it != driveFolders.end() ? it->second : std::wstring{drive, L':', L'\\'};
    }
    bool IsNtFamily() override { return ntFamily; }
    std::int64_t Counter() override { return m_counter += 10; }
    std::int64_t CounterFrequency() override { return 1000000; }
    std::uint32_t Seconds() override { return seconds; }
    void YieldTimeSlice() override {}
    void WaitForRun(void*) override {}
    std::unique_ptr<IRunEvent> CreateRunEvent(const std::wstring& name) override;
    void WriteEvent(const ShredEventRecord& record) override { events.push_back(record); }
    void Print(std::string_view text) override { printed += text; }

private:
    struct Node
    {
        bool isFolder = false;
        std::wstring linkTarget;  // non-empty: a link
        std::shared_ptr<std::vector<std::uint8_t>> data =
            std::make_shared<std::vector<std::uint8_t>>();
    };

    const Node* Find(const std::wstring& path) const;
    bool HasChildren(const std::wstring& folder) const;

    std::map<std::wstring, Node> m_nodes;
    std::int64_t m_counter = 0;
};

}  // namespace shred::testing
