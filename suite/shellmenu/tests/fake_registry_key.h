// A registry tree in memory for the configuration's tests: keys and values in the order they were
// added, which is the order they enumerate in.
#pragma once

#include "suite/shellmenu/menu_configuration.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace shellmenu::testing {

// UTF-16 bytes of the text with its terminator, as the registry stores a string.
std::string StringBytes(const std::wstring& text, bool terminated = true);

struct FakeKey
{
    std::vector<std::pair<std::wstring, RegistryData>> values;
    std::vector<std::pair<std::wstring, std::shared_ptr<FakeKey>>> subKeys;

    FakeKey& Key(const std::wstring& name);  // created when missing
    FakeKey& Text(const std::wstring& name, const std::wstring& text);
    FakeKey& Data(const std::wstring& name, RegistryData data);
};

// The registry interface over a FakeKey; the key stays owned by the tree.
std::unique_ptr<IRegistryKey> OpenFake(std::shared_ptr<FakeKey> key);

}  // namespace shellmenu::testing
