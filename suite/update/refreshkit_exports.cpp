// The two exports of Refreshkit: the update check (silent, or with the information and download
// dialogs) and the release date of the newest version. Both leave their arguments to the caller
// to remove; nothing may throw out of them.
#include "suite/update/refreshkit_context_win32.h"
#include "suite/update/refreshkit_dialogs_win32.h"
#include "suite/update/update_answer.h"
#include "suite/update/wininet_win32.h"

#include <cstdlib>
#include <cstring>

namespace update {
namespace {

constexpr unsigned kSilentTimeoutMs = 3000;
constexpr unsigned kInteractiveTimeoutMs = 10000;
constexpr unsigned kReleaseDateTimeoutMs = 300;

std::wstring TextOf(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring();
}

int RunRequest(RefreshkitContext& context, std::wstring_view baseUrl, unsigned timeoutMs)
{
    Win32UpdateEnvironment environment(context.Languages());
    WinInetHttpGet http;
    return RunUpdateRequest(baseUrl, timeoutMs, context.Settings(), environment, http);
}

}  // namespace
}  // namespace update

extern "C" {

int __cdecl Refreshkit(void* reserved, void* callerData, const wchar_t* productId,
                       const wchar_t* productTitle, const wchar_t* installedVersion,
                       const wchar_t* reservedText, const wchar_t* userName, const wchar_t* email,
                       const wchar_t* company, int silent, unsigned char topmost) noexcept
{
    try {
        update::RefreshkitContext& context = update::RefreshkitContext::Instance();
        update::CRefreshkitSettings& settings = context.Settings();
        settings.callerData = callerData;
        settings.productId = update::TextOf(productId);
        settings.productTitle = update::TextOf(productTitle);
        settings.installedVersion = update::TextOf(installedVersion);
        settings.userName = update::TextOf(userName);
        settings.email = update::TextOf(email);
        settings.company = update::TextOf(company);
        if (!context.Languages().HasLanguages())
            return -10;

        const std::wstring baseUrl =
            update::GetUpdateURL().value_or(context.Text(L"url_update_ntv"));
        const int request = update::RunRequest(
            context, baseUrl, silent ? update::kSilentTimeoutMs : update::kInteractiveTimeoutMs);
        if (silent)
            return update::SilentCheckResult(request, settings);
        return update::RunInteractiveUpdate(context, topmost != 0);
    } catch (...) {
        return -1;
    }
}

wchar_t* __cdecl VNTReleaseDate(void* reserved, const wchar_t* productId) noexcept
{
    try {
        update::RefreshkitContext& context = update::RefreshkitContext::Instance();
        update::CRefreshkitSettings& settings = context.Settings();
        settings.productId = update::TextOf(productId);
        settings.productTitle.clear();
        settings.installedVersion.clear();
        settings.userName.clear();
        settings.email.clear();
        settings.company.clear();
        const int request = update::RunRequest(context, context.Text(L"url_update_ntv"),
                                               update::kReleaseDateTimeoutMs);
        if (request == update::kErrorAnswer)
            return nullptr;
        // The caller cannot give this back to us: it stays allocated, as the callers expect.
        const std::wstring& date = settings.releaseDate;
        auto* copy = static_cast<wchar_t*>(std::malloc((date.size() + 1) * sizeof(wchar_t)));
        if (copy)
            std::memcpy(copy, date.c_str(), (date.size() + 1) * sizeof(wchar_t));
        return copy;
    } catch (...) {
        return nullptr;
    }
}

}  // extern "C"
