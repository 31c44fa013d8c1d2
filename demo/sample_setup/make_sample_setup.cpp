// Writes the demo's sample setup: the compiled script of a statement list appended to Deployrun,
// with the resource archive, the package and the archive library beside it.
//   make_sample_setup OUTPUT_FOLDER DEPLOYRUN QBR_LIB ARCHIVE PACKAGE SCRIPT_TEXT PACKAGE_CODE
//                     [mode=SETUP_MODE] [product=PRODUCT_CODE] [title=PRODUCT_TITLE] [files=FILE]
// An ARCHIVE or PACKAGE of "-" is left out; SETUP_MODE 2 keeps the media in the installer cache.
// FILE holds the script's file table, three lines a file: the web media block, the file's path in
// the block's archive and the folder below the data folder it goes to.
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/compiled_script_builder.h"
#include "tests/support/setup_image_writer.h"

namespace {

std::string ReadFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error(std::string("cannot read ") + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

void ApplyOption(testsupport::ScriptProject& project, const std::string& option)
{
    const std::size_t equals = option.find('=');
    const std::string name = option.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : option.substr(equals + 1);
    if (name == "mode")
        project.setupMode = value;
    else if (name == "product")
        project.productCode = value;
    else if (name == "title")
        project.productTitle = value;
    else if (name == "files")
        project.files = Lines(ReadFile(value.c_str()));
    else
        throw std::runtime_error("unknown option " + option);
    if (project.files.size() % 3 != 0)
        throw std::runtime_error("the file table needs three lines a file");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 8) {
        std::cerr << "usage: make_sample_setup OUTPUT DEPLOYRUN QBR_LIB ARCHIVE PACKAGE SCRIPT "
                     "PACKAGE_CODE [mode=N] [product=CODE] [title=TEXT] [files=FILE]\n";
        return 2;
    }
    try {
        const std::string description = ReadFile(argv[6]);
        testsupport::ScriptProject project;
        project.productTitle = "Vontar Wipestation Sample";
        // The package's product code (sample_setup.wxs) and package code: the installer cache and
        // the maintenance detection key on them.
        project.productCode = "{8A6B2C1D-0000-4000-8000-000000000001}";
        project.cacheId = argv[7];
        for (int i = 8; i < argc; ++i)
            ApplyOption(project, argv[i]);
        testsupport::SetupImage image;
        image.script =
            testsupport::BuildCompiledScript(testsupport::ParseStatements(description), project);
        image.archiveLibrarySource = argv[3];
        if (std::string(argv[4]) != "-")
            image.resourceArchiveSource = argv[4];
        if (std::string(argv[5]) != "-")
            image.packageSource = argv[5];
        std::cout << testsupport::WriteSetupImage(argv[1], argv[2], image) << "\n";
        return 0;
    } catch (const std::exception& failure) {
        std::cerr << "make_sample_setup: " << failure.what() << "\n";
        return 1;
    }
}
