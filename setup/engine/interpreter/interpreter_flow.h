// The interpreter's own flow control as plain decisions: the If comparison table and the forward
// and backward walks that skips, GoTo and Wizard Loop navigation make over the statement lists.
#pragma once

#include <string_view>

#include "setup/engine/script/setup_script.h"

namespace setup::engine {

// The comparison of an If or Else If: operator codes "0" to "4" compare as 32-bit numbers when
// both sides read as integers, otherwise as texts; any other code is false. (Code "5", "is
// defined", needs the variable store and is decided by the caller.)
bool CompareIfOperands(std::string_view operatorCode, std::string_view left,
                       std::string_view right);

// Statement facts by 0-based index; an index outside the lists reads as an empty command.
bool IsCommentedOut(const SetupScript& script, int index);
bool IsCommand(const SetupScript& script, int index, std::string_view command);

// From the statement after `from`: the first "Else", "Else If" (when wanted) or "End" that is not
// commented out and closes no block opened on the way ("If" and "Wizard Loop" open, "End"
// closes). The statement count when there is none.
int FindBranchOrEnd(const SetupScript& script, int from, bool stopAtElse);
// From the statement after `from`: the first "End" not commented out, without nesting (the end of
// a Wizard Loop, which holds only pages). The statement count when there is none.
int FindNextEnd(const SetupScript& script, int from);
// The next statement a navigating Wizard Loop stops at, walking in `direction` (+1 or -1) from
// `from`: "Display Dialog", "Wizard Loop" or "End", not commented out. -1 or the statement count
// when the walk leaves the lists.
int FindWizardStop(const SetupScript& script, int from, int direction);

}  // namespace setup::engine
