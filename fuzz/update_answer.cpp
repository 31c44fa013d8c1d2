// The update server's answer over any bytes (each byte one character, as a single-byte code page
// gives it): read twice into the same settings, as two checks in one process do, then every value
// the client goes on to use: the escapes, the version comparison and the installer's file name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "suite/update/contact_view.h"
#include "suite/update/update_answer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::wstring body(data, data + size);
    update::CRefreshkitSettings settings;
    update::ReadAnswer(body, settings);
    update::ReadAnswer(body.substr(body.size() / 2), settings);
    update::DecodeAnswerText(body);
    update::IsNewerVersion(settings.installedVersion, settings.version);
    update::InstallerFileName(settings.installerFileName);
    update::DownloadPercent(static_cast<std::uint64_t>(size), settings.size);
    settings.httpStatus = 200;
    update::BuildContactView(settings, [&](std::wstring_view key) { return body; });
    return 0;
}
