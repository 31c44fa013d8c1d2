#include "suite/shellmenu/tests/fake_registry_key.h"

namespace shellmenu::testing {
namespace {

class FakeRegistryKey final : public IRegistryKey
{
public:
    explicit FakeRegistryKey(std::shared_ptr<FakeKey> key) : m_key(std::move(key)) {}

    std::unique_ptr<IRegistryKey> OpenSubKey(const std::wstring& name) override
    {
        for (auto& [subName, sub] : m_key->subKeys) {
            if (subName == name)
                return OpenFake(sub);
        }
        return nullptr;
    }
    std::vector<std::wstring> SubKeyNames() override
    {
        std::vector<std::wstring> names;
        for (auto& [name, sub] : m_key->subKeys)
            names.push_back(name);
        return names;
    }
    std::vector<std::wstring> ValueNames() override
    {
        std::vector<std::wstring> names;
        for (auto& [name, data] : m_key->values)
            names.push_back(name);
        return names;
    }
    std::optional<RegistryData> ReadValue(const std::wstring& name) override
    {
        for (auto& [valueName, data] : m_key->values) {
            if (valueName == name)
                return data;
        }
        return std::nullopt;
    }

private:
    std::shared_ptr<FakeKey> m_key;
};

}  // namespace

std::string StringBytes(const std::wstring& text, bool terminated)
{
    std::string bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xff));
        bytes.push_back(static_cast<char>((c >> 8) & 0xff));
    }
    if (terminated)
        bytes.append(2, '\0');
    return bytes;
}

FakeKey& FakeKey::Key(const std::wstring& name)
{
    for (auto& [subName, sub] : subKeys) {
        if (subName == name)
            return *sub;
    }
    subKeys.emplace_back(name, std::make_shared<FakeKey>());
    return *subKeys.back().second;
}

FakeKey& FakeKey::Text(const std::wstring& name, const std::wstring& text)
{
    return Data(name, RegistryData{kRegString, StringBytes(text), true});
}

FakeKey& FakeKey::Data(const std::wstring& name, RegistryData data)
{
    values.emplace_back(name, std::move(data));
    return *this;
}

std::unique_ptr<IRegistryKey> OpenFake(std::shared_ptr<FakeKey> key)
{
    return std::make_unique<FakeRegistryKey>(std::move(key));
}

}  // namespace shellmenu::testing
