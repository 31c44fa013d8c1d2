#include "setup/engine/statements/statements_registry.h"

#include <cstring>

#include "setup/engine/interpreter/statements_support.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

namespace {

constexpr const char* kResultWords[] = {"NO$KEY", "NO$VALUE", "UNKNOWN$TYPE", "BINARY$VALUE",
                                        "READ$ERROR"};

bool IsKnownRoot(std::int32_t root)
{
    return root >= 0 && root < kRegistryRootCount;
}

// Text values end at their first NUL.
std::string StoredText(const std::string& data)
{
    return data.substr(0, data.find('\0'));
}

}  // namespace

std::string RegistryResultText(RegistryReadStatus status, const RegistryValue& value)
{
    switch (status) {
        case RegistryReadStatus::NoKey:
            return "NO$KEY";
        case RegistryReadStatus::NoValue:
            return "NO$VALUE";
        case RegistryReadStatus::ReadError:
            return "READ$ERROR";
        case RegistryReadStatus::Found:
            break;
    }
    switch (value.type) {
        case kRegSz:
        case kRegExpandSz:
            return StoredText(value.data);
        case kRegDword: {
            if (value.data.size() < 4)
                return "READ$ERROR";
            std::uint32_t bits = 0;
            std::memcpy(&bits, value.data.data(), 4);
            return std::to_string(static_cast<std::int32_t>(bits));
        }
        case kRegBinary:
            return "BINARY$VALUE";
        default:
            return "UNKNOWN$TYPE";
    }
}

bool IsRegistryResultWord(const std::string& text)
{
    for (const char* word : kResultWords) {
        if (text == word)
            return true;
    }
    return false;
}

void ReadRegistryStatement(StatementContext& statement, const SystemStatementServices& services,
                           bool checkWords)
{
    const TargetRegistryViewScope view(*services.wow64, statement.Engine());
    const ResultVariable result(statement, RawParam(statement, 1));
    const std::int32_t root = TextToInt32(RawParam(statement, 2));
    const std::string keyPath = NormalizedParam(statement, 3);
    const std::string valueName = NormalizedParam(statement, 4);
    std::string text = "NO$KEY";
    if (IsKnownRoot(root)) {
        RegistryValue value;
        RegistryReadStatus status;
        try {
            status = services.registry->ReadValue(root, keyPath, valueName,
                                                  statement.Engine().RegistryViewFlag, value);
        } catch (const std::exception&) {
            status = RegistryReadStatus::ReadError;
        }
        text = RegistryResultText(status, value);
    }
    if (!checkWords && IsRegistryResultWord(text))
        text.clear();
    result.Assign(text);
}

void DeleteRegistryStatement(StatementContext& statement, const SystemStatementServices& services)
{
    const std::string& platform = statement.Engine().TargetPlatform;
    const TargetRegistryViewScope view(*services.wow64, statement.Engine());
    const std::uint32_t registryView = statement.Engine().RegistryViewFlag;
    const std::int32_t root = TextToInt32(RawParam(statement, 1));
    if (!IsKnownRoot(root))
        return;  // an unknown root is no licence to delete under another one
    const std::string keyPath = NormalizedParam(statement, 2);
    if (TextToBool(RawParam(statement, 4))) {
        if (platform != "Win32" && services.wow64->IsWow64())
            services.registry->DeleteKeyTree64(root, keyPath);
        else
            services.registry->DeleteKeyTree(root, keyPath, registryView);
        return;
    }
    services.registry->DeleteValue(root, keyPath, NormalizedParam(statement, 3), registryView);
}

void GetEnvironmentStatement(StatementContext& statement, const SystemStatementServices& services)
{
    const std::string name = ExpandedParam(statement, 1);
    const std::string text = name.empty() ? services.environment->BlockText()
                                          : services.environment->Expand("%" + name + "%");
    ResultVariable(statement, RawParam(statement, 2)).Assign(text);
}

void RegisterRegistryStatements(StatementHandlerTable& table,
                                const SystemStatementServices& services)
{
    table.Register("Read Registry",
                   [services](StatementContext& s) { ReadRegistryStatement(s, services, false); });
    table.Register("Check Registry",
                   [services](StatementContext& s) { ReadRegistryStatement(s, services, true); });
    table.Register("Delete Registry",
                   [services](StatementContext& s) { DeleteRegistryStatement(s, services); });
    table.Register("Get Environment",
                   [services](StatementContext& s) { GetEnvironmentStatement(s, services); });
}

}  // namespace setup::engine
