// The check of a compiled script before its first statement runs: block structure, labels,
// wizard loops, required parameters, expressions and references to variables no earlier statement
// defines. It also prepares the run's list of performed statements.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/rtl/string_list.h"
#include "setup/engine/script/hashed_string_list.h"
#include "setup/engine/script/variables.h"

namespace setup::engine {

// CheckScript's index for an END imbalance, which belongs to no single statement.
inline constexpr int kEndImbalanceIndex = 2147483644;

// -1 and "Script compiled successfully" for a valid script; otherwise the 0-based index of the
// first offending statement (or kEndImbalanceIndex) and the message. Leaves the variables
// holding only the names the check defined.
int CheckScript(ScriptVariables& variables, const THashedStringList& commands,
                const THashedStringList& keys, const THashedStringList& flags, std::string& message,
                const std::vector<THashedStringList>& pools);
// As CheckScript; also fills performed with "SKIP" or, for package-backed statements, "FALSE" per
// statement, which the statements mark when they run and the installer bridge reads.
int CompileScript(ScriptVariables& variables, const THashedStringList& commands,
                  const THashedStringList& keys, const THashedStringList& flags,
                  std::string& message, const std::vector<THashedStringList>& pools,
                  rtl::TStringList& performed);

// Strict: a "$NAME$" reference must name a defined variable, any other text passes. Not strict:
// the reference's name, or else the text itself as a bare name, must be defined.
bool IsVariableReference(const ScriptVariables& variables, std::string_view text, bool strict);

// The file-name part (after the last '\' or ':') holds none of \ / : * ? " < > |.
bool IsLegalFileName(std::string_view text);

}  // namespace setup::engine
