// formconv: converts form files between the text layout and the binary page-file layout (the form
// stream inside a one-resource file), so tests and sample setups keep their forms as text.
//   formconv text-to-binary <in.txt> <out.dfm>
//   formconv binary-to-text <in.dfm> <out.txt>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "setup/forms/binary_form.h"
#include "setup/forms/form_errors.h"
#include "setup/forms/text_form.h"

namespace forms = setup::forms;

namespace {

std::string ReadWholeFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw forms::EFilerError(std::string("Cannot open file \"") + path + "\"");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const char* path, const void* data, std::size_t size)
{
    std::ofstream file(path, std::ios::binary);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file)
        throw forms::EFilerError(std::string("Cannot create file \"") + path + "\"");
}

std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: formconv text-to-binary|binary-to-text <input> <output>\n");
        return 2;
    }
    const std::string mode = argv[1];
    try {
        const std::string input = ReadWholeFile(argv[2]);
        if (mode == "text-to-binary") {
            const forms::FormObject root = forms::ReadTextForm(input);
            const std::vector<std::uint8_t> stream = forms::WriteBinaryForm(root);
            // Resource compilers name a form's resource after its class, in upper case.
            std::vector<std::uint8_t> file =
                forms::FormResourceHeader(UpperCase(root.className), stream.size());
            file.insert(file.end(), stream.begin(), stream.end());
            WriteWholeFile(argv[3], file.data(), file.size());
        } else if (mode == "binary-to-text") {
            const std::span<const std::uint8_t> bytes(
                reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
            const std::string text =
                forms::WriteTextForm(forms::ReadBinaryForm(forms::SkipFormResourceHeader(bytes)));
            WriteWholeFile(argv[3], text.data(), text.size());
        } else {
            std::fprintf(stderr, "formconv: unknown mode '%s'\n", mode.c_str());
            return 2;
        }
    } catch (const forms::EFilerError& error) {
        std::fprintf(stderr, "formconv: %s: %s\n", argv[2], error.what());
        return 1;
    } catch (const setup::rtl::Exception& error) {
        std::fprintf(stderr, "formconv: %s\n", error.what());
        return 1;
    }
    return 0;
}
