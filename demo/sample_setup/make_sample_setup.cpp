// Writes the demo's sample setup: the compiled script of a statement list appended to Deployrun,
// with the resource archive, the package and the archive library beside it.
//   make_sample_setup OUTPUT_FOLDER DEPLOYRUN QBR_LIB ARCHIVE PACKAGE SCRIPT_TEXT PACKAGE_CODE
//                     [SETUP_MODE]
// An ARCHIVE or PACKAGE of "-" is left out; SETUP_MODE 2 keeps the media in the installer cache.
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "tests/support/compiled_script_builder.h"
#include "tests/support/setup_image_writer.h"

int main(int argc, char** argv)
{
    if (argc != 8 && argc != 9) {
        std::cerr << "usage: make_sample_setup OUTPUT DEPLOYRUN QBR_LIB ARCHIVE PACKAGE SCRIPT "
                     "PACKAGE_CODE [SETUP_MODE]\n";
        return 2;
    }
    try {
        std::ifstream scriptFile(argv[6], std::ios::binary);
        const std::string description((std::istreambuf_iterator<char>(scriptFile)),
                                      std::istreambuf_iterator<char>());
        testsupport::ScriptProject project;
        project.productTitle = "Vontar Wipestation Sample";
        // The package's product code (sample_setup.wxs) and package code: the installer cache and
        // the maintenance detection key on them.
        project.productCode = "{8A6B2C1D-0000-4000-8000-000000000001}";
        project.cacheId = argv[7];
        if (argc == 9)
            project.setupMode = argv[8];
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
