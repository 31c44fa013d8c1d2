#include "setup/wizard/tests/wizard_fixture.h"

#include <fstream>
#include <iterator>
#include <random>

#include "setup/engine/rtl/exceptions.h"
#include "setup/forms/binary_form.h"
#include "setup/forms/text_form.h"
#include "setup/wizard/dialog_pool.h"

namespace setup::wizard::testing {

namespace {

std::string WithoutTrailingBackslash(std::string path)
{
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

}  // namespace

std::string WritePageFile(const std::filesystem::path& folder, const std::string& name,
                          const std::string& formText, const std::vector<std::string>& rules)
{
    const std::vector<std::uint8_t> stream = forms::WriteBinaryForm(forms::ReadTextForm(formText));
    std::vector<std::uint8_t> file = forms::FormResourceHeader(name, stream.size());
    file.insert(file.end(), stream.begin(), stream.end());
    const std::string path = (folder / (name + ".dfm")).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    std::ofstream rulesFile(path + ".qbrf", std::ios::binary);
    for (const std::string& rule : rules)
        rulesFile << rule << "\r\n";
    return path;
}

bool FakePageSystem::DirectoryExists(const std::string& path)
{
    return folders.count(WithoutTrailingBackslash(path)) > 0;
}

bool FakePageSystem::FileExists(const std::string& path)
{
    return std::filesystem::is_regular_file(path);
}

std::vector<std::string> FakePageSystem::ReadLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw rtl::Exception("Cannot open file \"" + path + "\"");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::optional<ScrollState> FakePageSystem::VerticalScroll(ui::TCustomMemo& memo)
{
    const auto found = scroll.find(&memo);
    if (found == scroll.end())
        return std::nullopt;
    return found->second;
}

WizardRun::WizardRun()
    : folder(std::filesystem::temp_directory_path() /
             ("wizard-" + std::to_string(std::random_device{}()))),
      application(loop, &peers), runtime(engine, application, system)
{
    std::filesystem::create_directories(folder);
    std::string support = folder.string();
    if (support.back() != '\\' && support.back() != '/')
        support += std::filesystem::path::preferred_separator;
    InitDialogPool(runtime, support);
}

WizardRun::~WizardRun()
{
    FreeDialogPool(runtime);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace setup::wizard::testing
