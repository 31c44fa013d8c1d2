#include "setup/sysconfig/installer/handoff_file.h"

#include <cctype>
#include <vector>

#include "setup/engine/rtl/string_list.h"
#include "setup/engine/script/fast_strings.h"
#include "setup/sysconfig/installer/standard_properties.h"

namespace setup::sysconfig::installer {
namespace {

void AppendRecord(std::string& text, std::string_view name, std::string_view value)
{
    text.append(name).append("\r\n").append(value).append("\r\n$ex\r\n");
}

std::string Upper(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

}  // namespace

std::string NormalizeHandoffValue(std::string_view value, const ExpandFunction& expand)
{
    const std::string expanded = expand ? expand(value) : std::string(value);
    const std::string collapsed = engine::StrReplace(expanded, "\\\\", "\\", engine::kReplaceAll);
    if (expanded.rfind("\\\\", 0) != 0)
        return collapsed;
    std::string result(1, '\\');
    result += collapsed;
    return result;
}

HandoffFile BuildHandoffFile(const HandoffInputs& in)
{
    HandoffFile file;
    AppendRecord(file.text, "SourceDir", in.patchMode ? in.patchSourceFolder : in.dataFolder);
    if (in.patchMode)
        AppendRecord(file.text, "SRCDIREX", in.patchSourceFolder);
    else
        AppendRecord(file.text, "MEDIAPACKAGEPATH", in.mediaPackagePath);

    const std::vector<std::string> properties = rtl::FromCommaText(in.propertiesText);
    for (std::size_t i = 0; i + 1 < properties.size(); i += 2)
        AppendRecord(file.text, properties[i], NormalizeHandoffValue(properties[i + 1], in.expand));

    const std::vector<std::string> variables = rtl::FromCommaText(in.variablesText);
    for (std::size_t i = 0; i + 1 < variables.size(); i += 2) {
        const std::string& name = variables[i];
        const std::string& value = variables[i + 1];
        const std::string upperName = Upper(name);
        if (upperName == "SILENT")
            file.silent = Upper(value) == "TRUE";
        else if (upperName == "TITLE")
            file.caption = value;
        if (!IsMSIStandardProperty(name))
            AppendRecord(file.text, name, NormalizeHandoffValue(value, in.expand));
    }
    return file;
}

}  // namespace setup::sysconfig::installer
