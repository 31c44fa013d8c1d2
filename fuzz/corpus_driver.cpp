// Runs a fuzz target once over every file of its corpus folders (or over single files), so the
// corpora are ordinary tests in a build without libFuzzer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void RunOne(const std::filesystem::path& path, std::size_t& count)
{
    const std::vector<std::uint8_t> bytes = ReadFile(path);
    // A block of exactly the input's size, so reads past its end are seen by the sanitizers.
    const auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    LLVMFuzzerTestOneInput(exact.get(), bytes.size());
    ++count;
}

}  // namespace

int main(int argc, char** argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    RunOne(entry.path(), count);
        } else {
            RunOne(path, count);
        }
    }
    std::printf("%zu inputs ran\n", count);
    // An empty or missing corpus would pass without testing anything.
    return count == 0 ? 1 : 0;
}
