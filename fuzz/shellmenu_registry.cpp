// The context menu's registry data over any bytes: the first byte picks the value's type, the rest
// is its data, read as a command line and started with the rest split into paths at every zero
// byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "suite/shellmenu/command_line.h"
#include "suite/shellmenu/registry_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    shellmenu::RegistryData value;
    value.type = data[0] % 8;
    value.bytes.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto command = shellmenu::TextFromRegistryData(value);
    std::vector<std::wstring> paths(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0)
            paths.emplace_back();
        else
            paths.back().push_back(static_cast<wchar_t>(data[i]));
    }
    const std::wstring line = shellmenu::BuildCommandLine(command.value_or(L"w %1"), paths);
    if (line.size() > shellmenu::kCommandLineLimit + shellmenu::kStringValueBytes)
        __builtin_trap();
    return 0;
}
