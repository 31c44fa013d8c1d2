// The strong names that scripts hand to "Register Assembly": any text gives a cache path made of
// its own pieces (the name twice, the version, the token), and a name that lies in no cache folder
// is passed on unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/sysconfig/dotnet/assembly_tools.h"

namespace {

using namespace setup::sysconfig::dotnet;

class NoCache : public IDotNetSystem
{
public:
    int RunProgram(const std::string&, const std::string&, const std::string&) override
    {
        return 0;
    }
    bool FileExists(const std::string&) override { return false; }
    std::string WriteAssemblyCacheTool(const std::string& folder) override { return folder; }
    std::optional<PackageAssemblies> ReadPackageAssemblies(const std::string&) override
    {
        return std::nullopt;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = StrongNameCachePath(text);
    if (path.size() > 4 * text.size() + 16)  // the name twice, the version and the token
        std::abort();
    NoCache cache;
    if (ResolveStrongName(cache, "C:\\Windows\\", text) != text)
        std::abort();
    return 0;
}
