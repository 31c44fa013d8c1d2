// The file systems the object tests run on: the in-memory one everywhere, real files under Wine.
#pragma once

#include "shred/engine/tests/memory_system.h"

#include <optional>
#include <string>
#include <vector>

namespace shred::testing {

class ShredBacking
{
public:
    virtual ~ShredBacking() = default;
    virtual IShredSystem& System() = 0;
    virtual std::wstring Root() = 0;  // an empty folder of this test, no trailing backslash
    virtual void MakeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) = 0;
    virtual void MakeFolder(const std::wstring& path) = 0;
    virtual std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) = 0;
    virtual bool Exists(const std::wstring& path) = 0;
    virtual std::vector<std::wstring> Names(const std::wstring& folder) = 0;
};

class MemoryBacking : public ShredBacking
{
public:
    MemoryBacking()
    {
        m_system.AddFolder(L"C:");
        m_system.AddFolder(Root());
    }
    IShredSystem& System() override { return m_system; }
    std::wstring Root() override { return L"C:\\work"; }
    void MakeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) override
    {
        m_system.AddFile(path, bytes);
    }
    void MakeFolder(const std::wstring& path) override { m_system.AddFolder(path); }
    std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) override
    {
        return m_system.Read(path);
    }
    bool Exists(const std::wstring& path) override { return m_system.Exists(path); }
    std::vector<std::wstring> Names(const std::wstring& folder) override
    {
        return m_system.Children(folder);
    }
    MemorySystem& Memory() { return m_system; }

private:
    MemorySystem m_system;
};

#if defined(_WIN32)
// Real files in a fresh folder under the temporary folder, removed with the backing.
class Win32Backing : public ShredBacking
{
public:
    Win32Backing();
    ~Win32Backing() override;
    IShredSystem& System() override;
    std::wstring Root() override { return m_root; }
    void MakeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) override;
    void MakeFolder(const std::wstring& path) override;
    std::optional<std::vector<std::uint8_t>> Read(const std::wstring& path) override;
    bool Exists(const std::wstring& path) override;
    std::vector<std::wstring> Names(const std::wstring& folder) override;

private:
    std::wstring m_root;
};
#endif

}  // namespace shred::testing
