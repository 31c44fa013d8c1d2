// Extraction targets and event recorders kept in memory, for tests of the extraction logic.
#pragma once

#include "standins/archive/extractor.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace standins::archive::testing {

class MemoryTarget : public IExtractTarget
{
public:
    void MakeFolders(const std::u16string& relativeFolder) override
    {
        folders.insert(relativeFolder);
    }
    std::optional<ExistingFile> Existing(const std::u16string& relativePath) override
    {
        const auto found = files.find(relativePath);
        if (found == files.end()) {
            return std::nullopt;
        }
        return ExistingFile{found->second.size(), std::nullopt};
    }
    void OpenFile(const std::u16string& relativePath) override
    {
        m_open = relativePath;
        files[m_open].clear();
    }
    void Write(const std::uint8_t* data, std::size_t size) override
    {
        files[m_open].insert(files[m_open].end(), data, data + size);
    }
    void CloseFile(std::optional<std::uint64_t> modified) override
    {
        times[m_open] = modified;
        m_open.clear();
    }
    void DiscardFile() noexcept override
    {
        files.erase(m_open);
        discarded.push_back(m_open);
        m_open.clear();
    }

    std::map<std::u16string, std::vector<std::uint8_t>> files;
    std::map<std::u16string, std::optional<std::uint64_t>> times;
    std::set<std::u16string> folders;
    std::vector<std::u16string> discarded;

private:
    std::u16string m_open;
};

class RecordingEvents : public IExtractEvents
{
public:
    void EntryStarting(std::size_t index, std::size_t) override { started.push_back(index); }
    bool Progress(std::size_t index, std::uint64_t done, std::uint64_t total) override
    {
        progress.push_back({index, done, total});
        return progress.size() < stopAfterCalls;
    }
    bool ReplaceExisting(std::size_t index, const ArchiveItem&, const ExistingFile&) override
    {
        asked.push_back(index);
        return replace;
    }

    struct Step
    {
        std::size_t index;
        std::uint64_t done;
        std::uint64_t total;
    };
    std::vector<std::size_t> started;
    std::vector<Step> progress;
    std::vector<std::size_t> asked;
    std::size_t stopAfterCalls = SIZE_MAX;
    bool replace = true;
};

}  // namespace standins::archive::testing
