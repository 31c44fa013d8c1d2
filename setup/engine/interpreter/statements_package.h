// The package-backed statements: they act through the script's own Windows Installer package, so
// running one only marks it performed and queues its variable texts as installer properties.
#pragma once

#include <string>
#include <string_view>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"
#include "setup/engine/rtl/string_list.h"

namespace setup::engine {

// Brings a web media block into the data folder before the package needs its files.
class IPackageMedia
{
public:
    virtual ~IPackageMedia() = default;
    virtual void AcquireMediaBlock(const std::string& blockName) = 0;
};

// Null members switch the service off: no redirection change, no media acquisition.
struct PackageStatementServices
{
    IWow64Services* wow64 = nullptr;
    IPackageMedia* media = nullptr;
};

// The package's short|long form of a shortcut name: "Log files" -> "Log fi~1|Log files".
std::string ShortcutPackageName(std::string_view name);

// Queues one installer property and records it, newlines encoded, in PackagePropertyList.
void QueuePackageProperty(StatementContext& statement, const std::string& name,
                          const std::string& value);

void RegisterPackageStatements(StatementHandlerTable& table,
                               const PackageStatementServices& services);

}  // namespace setup::engine
