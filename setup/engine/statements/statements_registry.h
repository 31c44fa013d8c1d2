// The registry and environment statements that act at once: "Read Registry", "Check Registry",
// "Delete Registry" and "Get Environment", over a narrow registry and environment interface.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/interpreter/interpreter_statements.h"
#include "setup/engine/interpreter/statements_platform_view.h"

namespace setup::engine {

// Value types as the registry stores them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// The root numbers of the statements: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER,
// 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS, 4 HKEY_CURRENT_CONFIG.
inline constexpr std::int32_t kRegistryRootCount = 5;
inline constexpr std::int32_t kCurrentUser = 1;
inline constexpr std::int32_t kLocalMachine = 2;

enum class RegistryReadStatus
{
    Found,
    NoKey,
    NoValue,
    ReadError
};

struct RegistryValue
{
    std::uint32_t type = kRegNone;
    std::string data;  // the stored bytes
};

// What the statements do to the registry. Roots are 0-4; the view bits are ORed into the access
// of every open.
class IRegistry
{
public:
    virtual ~IRegistry() = default;
    virtual RegistryReadStatus ReadValue(int root, const std::string& keyPath,
                                         const std::string& valueName, std::uint32_t view,
                                         RegistryValue& value) = 0;
    // A missing key or value, or a refused delete, leaves the registry as it was.
    virtual void DeleteValue(int root, const std::string& keyPath, const std::string& valueName,
                             std::uint32_t view) = 0;
    // The key with every sub-key, each deleted before its parent.
    virtual void DeleteKeyTree(int root, const std::string& keyPath, std::uint32_t view) = 0;
    // The same in the 64-bit view for a 64-bit target reached from WOW64; a path without a
    // parent key is left alone.
    virtual void DeleteKeyTree64(int root, const std::string& keyPath) = 0;
};

// The process environment as "Get Environment" reads it.
class IProcessEnvironment
{
public:
    virtual ~IProcessEnvironment() = default;
    // Environment references (names between percent signs) replaced; unknown ones stay.
    virtual std::string Expand(const std::string& text) = 0;
    // Every name=value entry in block order joined by "$NEWLINE$".
    virtual std::string BlockText() = 0;
};

struct SystemStatementServices
{
    IRegistry* registry = nullptr;
    IWow64Services* wow64 = nullptr;
    IProcessEnvironment* environment = nullptr;
};

void RegisterRegistryStatements(StatementHandlerTable& table,
                                const SystemStatementServices& services);

// The value text or result word of a read ("NO$KEY", "NO$VALUE", "UNKNOWN$TYPE",
// "BINARY$VALUE", "READ$ERROR").
std::string RegistryResultText(RegistryReadStatus status, const RegistryValue& value);
bool IsRegistryResultWord(const std::string& text);

// Statement bodies; checkWords keeps the result words ("Check Registry").
void ReadRegistryStatement(StatementContext& statement, const SystemStatementServices& services,
                           bool checkWords);
void DeleteRegistryStatement(StatementContext& statement, const SystemStatementServices& services);
void GetEnvironmentStatement(StatementContext& statement, const SystemStatementServices& services);

}  // namespace setup::engine
