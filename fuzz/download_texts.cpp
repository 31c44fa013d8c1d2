// The readers of a server's or a script's texts in a download: the content length of a header,
// the credentials of a URL and the file name a URL gives. Each input line is a header line; the
// whole input is also a URL.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/media/download/download_driver.h"
#include "setup/media/download/light_status.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::vector<std::string> lines;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    (void)download::ContentLengthOf(lines);

    const download::UrlCredentials split = download::SplitUrlCredentials(text);
    // Only ever takes "user:password@" out.
    if (!split.user.empty() &&
        split.url.size() + split.user.size() + split.password.size() + 2 != text.size())
        __builtin_trap();
    if (split.user.empty() && split.password.empty() && split.url != text)
        __builtin_trap();

    const std::string name = download::SafeFileNameFromUrl(text);
    if (name.find_first_of("/\\:") != std::string::npos || name == "." || name == "..")
        __builtin_trap();
    return 0;
}
