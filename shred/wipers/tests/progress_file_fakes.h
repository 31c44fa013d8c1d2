// An in-memory progress file system: files as bytes, the "ClientInput.dat" text, a settable clock
// and a table of which arguments are code and which are strings.
#pragma once

#include "shred/wipers/progress_file.h"

#include <list>
#include <map>
#include <set>

namespace shred::wipers::testing {

class FakeProgressSystem : public IProgressSystem
{
public:
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> unopenable;
    std::set<const void*> code;
    std::map<const void*, std::wstring> strings;
    std::optional<std::wstring> clientInput;
    std::int64_t now = 1000;
    int clientInputReads = 0;

    ProgressArgument Probe(const void* argument) override
    {
        ProgressArgument probed;
        probed.executable = code.count(argument) != 0;
        const auto found = strings.find(argument);
        if (found != strings.end())
            probed.text = found->second;
        return probed;
    }
    bool FileExists(const std::wstring& path) override { return files.count(path) != 0; }
    std::unique_ptr<IProgressFile> OpenProgressFile(const std::wstring& path) override
    {
        if (!files.count(path) || unopenable.count(path))
            return nullptr;
        return std::make_unique<File>(files[path]);
    }
    std::optional<std::wstring> ReadClientInput() override
    {
        ++clientInputReads;
        return clientInput;
    }
    std::int64_t NowSeconds() override { return now; }

    // A progress file registered as the string argument that names it.
    const void* AddProgressFile(const std::wstring& path, std::string bytes)
    {
        files[path] = std::move(bytes);
        m_names.push_back(path);
        const void* argument = m_names.back().c_str();
        strings[argument] = path;
        return argument;
    }

private:
    class File : public IProgressFile
    {
    public:
        explicit File(std::string& bytes) : m_bytes(bytes) {}
        std::optional<std::string> ReadAll() override { return m_bytes; }
        std::uint64_t Size() override { return m_bytes.size(); }
        bool WriteAt(std::uint64_t offset, std::string_view bytes) override
        {
            if (m_bytes.size() < offset + bytes.size())
                m_bytes.resize(offset + bytes.size(), '\0');
            m_bytes.replace(offset, bytes.size(), bytes);
            return true;
        }

    private:
        std::string& m_bytes;
    };

    std::list<std::wstring> m_names;  // stable storage for the argument pointers
};

}  // namespace shred::wipers::testing
