// Writes the seed inputs of the fuzz corpora with the tests' fixture builders: small valid inputs
// and the edge cases the builders can damage them into. Usage: fuzz_seed_writer <corpus folder>.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/tiny_7z_writer.h"
#include "tests/support/compiled_script_builder.h"
#include "tests/support/setup_image_writer.h"

namespace {

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    Write(path, std::string(bytes.begin(), bytes.end()));
}

void WriteScripts(const std::string& folder)
{
    using namespace testsupport;
    const std::vector<ScriptStatement> statements = ParseStatements(R"(
        Set Variable | RESULT | hello
        If | RESULT | Equals | hello
        Evaluate Expression | "$RESULT$" = "hello" AND 1 < 2 | CHECKED
        End
        Label | Here
        C GoTo Label | Here
        Wizard Loop
        Display Dialog | Welcome | DIALOGRESULT
        End
        Parse String | a,b | , | LEFT | RIGHT
        Install Files | files | * | $TARGETDIR$
    )");
    ScriptProject project;
    project.compilerVariables = {{"LOCMODE", "NEWONLY"}, {"NAME", "#LOCMODE# $x$"}};
    project.productTitle = "#NAME# setup";
    const std::string dir = folder + "/setup_script/";
    Write(dir + "statements", BuildCompiledScript(statements, project));
    Write(dir + "empty_script", BuildCompiledScript({}));
    ScriptDamage truncated;
    truncated.keepSections = 9;
    Write(dir + "truncated", BuildCompiledScript(statements, project, truncated));
    ScriptDamage noParameters;
    noParameters.omitParameterRecords = true;
    noParameters.bareLineFeeds = true;
    Write(dir + "no_parameters", BuildCompiledScript(statements, {}, noParameters));
    ScriptProject badMode;
    badMode.setupMode = "one";
    Write(dir + "bad_setup_mode", BuildCompiledScript(statements, badMode));
    ScriptProject noHeaders;
    noHeaders.generateHeaders = false;
    ScriptDamage junk;
    junk.trailingJunk = "$\r\n$\r\n\r\nstray";
    Write(dir + "no_headers",
          BuildCompiledScript(ParseStatements("Comment | x\nEnd"), noHeaders, junk));
}

void WriteLanguageStrings(const std::string& folder)
{
    using testsupport::BuildLanguageStrings;
    const std::string dir = folder + "/language_strings/";
    Write(dir + "default_only",
          BuildLanguageStrings({"Bitte installieren", "Ressource fehlt"}, {}));
    Write(dir + "sections",
          BuildLanguageStrings({"default"}, {{"French", {"Veuillez installer"}},
                                             {"german", {"Bitte installieren", "Ressource"}}}));
    std::string cut = BuildLanguageStrings({"one"}, {{"German", {"zwei"}}});
    cut.resize(cut.size() - 200);
    Write(dir + "cut_section", cut);
    Write(dir + "bare_line_feeds", "erste\nzweite\n\nGerman\ndritte\n");
}

void WriteArchives(const std::string& folder)
{
    using namespace standins::archive::testing;
    const std::string dir = folder + "/seven_zip_archive/";
    Write(dir + "tiny_entry_digests", WriteTiny7z({{u"folder", "", true},
                                                   {u"folder\\one.txt", "first file"},
                                                   {u"empty.txt", ""},
                                                   {u"two.txt", "second"}}));
    Write(dir + "tiny_block_digest",
          WriteTiny7z({{u"only.txt", "the single file"}, {u"empty", ""}}, TinyCrc::OnBlock));
    Write(dir + "tiny_unsafe_name", WriteTiny7z({{u"..\\up.txt", "climbs"}}));
    Write(dir + "tiny_empty", WriteTiny7z({}));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seed_writer <corpus folder>\n");
        return 2;
    }
    WriteScripts(argv[1]);
    WriteLanguageStrings(argv[1]);
    WriteArchives(argv[1]);
    return 0;
}
