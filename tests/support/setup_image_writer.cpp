#include "tests/support/setup_image_writer.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

namespace {

constexpr size_t kLanguageBlockLines = 115;

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& data)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file || !file.write(data.data(), static_cast<std::streamsize>(data.size())))
        throw std::runtime_error("cannot write " + path);
}

std::string Beside(const std::string& folder, const std::string& name)
{
    return (std::filesystem::path(folder) / name).string();
}

void AppendBlock(std::string& text, const std::vector<std::string>& lines)
{
    for (size_t i = 0; i < kLanguageBlockLines; ++i)
        text += (i < lines.size() ? lines[i] : std::string()) + "\r\n";
}

}  // namespace

std::string WriteSetupImage(const std::string& folder, const std::string& programSource,
                            const SetupImage& image)
{
    std::filesystem::create_directories(folder);
    const std::string program = Beside(folder, image.programName + ".exe");
    WriteAll(program, ReadAll(programSource) + image.script);
    const std::pair<const std::optional<std::string>*, const char*> besides[] = {
        {&image.resourceArchiveSource, ".res"},
        {&image.packageSource, ".msi"},
        {&image.patchSource, ".msp"},
    };
    for (const auto& [source, extension] : besides) {
        if (*source)
            WriteAll(Beside(folder, image.programName + extension), ReadAll(**source));
    }
    if (image.archiveLibrarySource)
        WriteAll(Beside(folder, "qbr.lib"),
                 ReadAll(*image.archiveLibrarySource) + image.languageStrings);
    for (const auto& [name, source] : image.extraFiles)
        WriteAll(Beside(folder, name), ReadAll(source));
    return program;
}

std::string BuildLanguageStrings(
    const std::vector<std::string>& defaultBlock,
    const std::vector<std::pair<std::string, std::vector<std::string>>>& sections)
{
    std::string text;
    AppendBlock(text, defaultBlock);
    for (const auto& [language, block] : sections) {
        text += language + "\r\n";
        AppendBlock(text, block);
    }
    return text;
}

}  // namespace testsupport
