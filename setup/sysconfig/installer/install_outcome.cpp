#include "setup/sysconfig/installer/install_outcome.h"

#include <string_view>

namespace setup::sysconfig::installer {

std::string TrimSystemText(std::string text)
{
    while (!text.empty() && (static_cast<unsigned char>(text.back()) < '!' || text.back() == '.'))
        text.pop_back();
    return text;
}

void ApplyInstallerResult(InstallOutcome& outcome, std::uint32_t code, bool cancelRequested,
                          const SystemTextOf& systemText)
{
    switch (code) {
        case kErrorSuccess:
            return;
        case kErrorSuccessRebootRequired:
        case kErrorSuccessRebootInitiated:
            outcome.rebootNeeded = true;
            return;
        default:
            break;
    }
    if (cancelRequested && code == kErrorInstallUserExit) {
        outcome.cancelled = true;
        return;
    }
    outcome.failed = true;
    outcome.errorText = systemText ? TrimSystemText(systemText(code)) : std::string();
}

void FinishErrorText(InstallOutcome& outcome, const std::string& lastMessageText,
                     const std::string& generalFailureText)
{
    if (!outcome.failed)
        return;
    if (outcome.errorText.empty())
        outcome.errorText = lastMessageText.empty() ? generalFailureText : lastMessageText;
    const auto dot = outcome.errorText.find('.');
    if (dot != std::string::npos && dot + 1 == outcome.errorText.size())
        outcome.errorText.pop_back();
}

int RunResult(const InstallOutcome& outcome)
{
    if (outcome.cancelled)
        return 0;
    if (outcome.failed)
        return -1;
    return outcome.rebootNeeded ? 2 : 1;
}

std::vector<std::string> InstallHeaderPieces(const InstallHeader& h)
{
    const auto piece = [](std::string_view heading, const std::string& value) {
        std::string text(heading);
        text.append("\r\n").append(value).append("\r\n");
        return text;
    };
    std::string title = "=== ";
    title.append(h.caption).append(": Applying Changes @").append(h.dateTime).append(" ===\r\n");
    return {title,
            piece("*** Variables ***", h.variablesText),
            piece("*** Properties ***", h.propertiesText),
            piece("*** MSI Database ***", h.packagePath),
            piece("*** GUID ***", h.productCode),
            piece("*** Data Directory ***", h.dataFolder),
            piece("*** Media Directory ***", h.mediaPackagePath),
            piece("*** MSI Directory ***", h.packageFolder),
            std::string()};
}

}  // namespace setup::sysconfig::installer
