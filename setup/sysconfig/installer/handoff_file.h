// The property hand-off file that the package's custom actions read while the install runs:
// records of a name, a value and the terminator line "$ex", each line ended by CR LF.
#pragma once

#include <string>
#include <string_view>

#include "setup/sysconfig/installer/script_values.h"

namespace setup::sysconfig::installer {

struct HandoffInputs
{
    bool patchMode = false;
    std::string dataFolder;
    std::string patchSourceFolder;
    std::string mediaPackagePath;
    std::string propertiesText;  // comma text: name, value, name, value, ...
    std::string variablesText;   // the same form, all script variables
    ExpandFunction expand;       // the values' variable references; none: kept as written
};

struct HandoffFile
{
    std::string text;
    // Read from the variables on the way: SILENT and TITLE.
    bool silent = false;
    std::string caption;
};

HandoffFile BuildHandoffFile(const HandoffInputs& inputs);

// Variables expanded, every pair of backslashes made one; a network path keeps its leading pair.
std::string NormalizeHandoffValue(std::string_view value, const ExpandFunction& expand);

}  // namespace setup::sysconfig::installer
