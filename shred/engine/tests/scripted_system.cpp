#include "shred/engine/tests/scripted_system.h"

#include "shred/engine/tests/memory_system.h"

namespace shred::testing {
namespace {

class ScriptedFile : public IShredFile
{
public:
    ScriptedFile(ScriptedSystem& owner, std::unique_ptr<IShredFile> inner)
        : m_owner(owner), m_inner(std::move(inner))
    {}
    bool GetSize(std::uint64_t& size) override { return m_inner->GetSize(size); }
    bool Seek(std::uint64_t offset) override { return m_inner->Seek(offset); }
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) override
    {
        switch (m_owner.NextWrite()) {
            case ScriptedSystem::WriteFate::Fail:
                written = 0;
                return false;
            case ScriptedSystem::WriteFate::Short:
                return m_inner->Write(data, length > 0 ? length - 1 : 0, written);
            default:
                return m_inner->Write(data, length, written);
        }
    }
    bool SetEndOfFile() override
    {
        m_owner.calls.push_back(L"truncate");
        return m_inner->SetEndOfFile();
    }
    bool SetTimes(std::uint64_t fileTime) override
    {
        m_owner.calls.push_back(L"times " + std::to_wstring(fileTime));
        return m_inner->SetTimes(fileTime);
    }
    bool Flush() override { return m_inner->Flush(); }

private:
    ScriptedSystem& m_owner;
    std::unique_ptr<IShredFile> m_inner;
};

}  // namespace

ScriptedSystem::WriteFate ScriptedSystem::NextWrite()
{
    const int index = writes++;
    if (index == failWriteAt)
        return WriteFate::Fail;
    if (index == shortWriteAt)
        return WriteFate::Short;
    return WriteFate::Normal;
}

std::unique_ptr<IShredFile> ScriptedSystem::Open(const std::wstring& path,
                                                 const OpenOptions& options)
{
    calls.push_back(L"open " + path);
    if (failOpen && failOpen(path, options))
        return nullptr;
    std::unique_ptr<IShredFile> file = m_inner.Open(path, options);
    if (!file)
        return nullptr;
    return std::make_unique<ScriptedFile>(*this, std::move(file));
}

std::unique_ptr<IBackupStream> ScriptedSystem::OpenBackupRead(const std::wstring& path)
{
    calls.push_back(L"backup " + path);
    if (!streamNames)
        return m_inner.OpenBackupRead(path);
    std::vector<BackupEntry> entries{{1, L"", 0}};
    for (const std::wstring& name : *streamNames)
        entries.push_back({4, name, 0});
    return MakeBackupStream(MakeBackupImage(entries));
}

bool ScriptedSystem::Move(const std::wstring& from, const std::wstring& to)
{
    calls.push_back(L"move " + from + L" -> " + to);
    if (failMove && failMove(from, to))
        return false;
    if (!m_inner.Move(from, to))
        return false;
    moves.emplace_back(from, to);
    return true;
}

bool ScriptedSystem::RemoveFile(const std::wstring& path)
{
    calls.push_back(L"remove " + path);
    if (failRemove && failRemove(path))
        return false;
    return m_inner.RemoveFile(path);
}

bool ScriptedSystem::RemoveFolder(const std::wstring& path)
{
    calls.push_back(L"rmdir " + path);
    if (failRemove && failRemove(path))
        return false;
    return m_inner.RemoveFolder(path);
}

}  // namespace shred::testing
