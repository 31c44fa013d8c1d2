#include "setup/sysconfig/installer/system_queries_win32.h"

#include <windows.h>

#include <vector>

#include "core/unique_handle.h"
#include "setup/engine/script/path_text.h"
#include "setup/sysconfig/installer/msi_thread_win32.h"

namespace setup::sysconfig::installer {

std::string ShortFolder(const std::string& folder, bool& needsQuotes)
{
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(folder.c_str(), buffer, sizeof(buffer));
    if (length == 0 || length >= sizeof(buffer)) {
        needsQuotes = true;
        return engine::IncludeBackslash(folder);
    }
    const std::string shortForm(buffer, length);
    needsQuotes = shortForm.find(' ') != std::string::npos;
    return engine::IncludeBackslash(shortForm);
}

std::string SystemErrorText(std::uint32_t code)
{
    std::vector<char> buffer(10241, '\0');
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                         0, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
    return std::string(buffer.data(), length);
}

std::string LocalDateTimeText()
{
    char date[128] = {};
    char time[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof(date));
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof(time));
    return std::string(date) + " " + time;
}

std::string TempFolder()
{
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof(buffer), buffer);
    return engine::IncludeBackslash(length && length < sizeof(buffer) ? std::string(buffer, length)
                                                                      : "");
}

void ClearTempPackages(const std::string& productCode)
{
    core::UniqueKey key;
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\TempPackages", 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY |
                            KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY,
                        &raw) != ERROR_SUCCESS)
        return;
    key.Reset(raw);
    std::string upperCode = productCode;
    for (char& c : upperCode)
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char name[16384] = {};
        DWORD size = sizeof(name);
        if (::RegEnumValueA(key.Get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, size);
    }
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        if (it->find(upperCode) != std::string::npos)
            ::RegDeleteValueA(key.Get(), it->c_str());
}

std::string GetCurrentUserName(bool windowsNT)
{
    if (!windowsNT) {
        char buffer[260] = {};
        DWORD size = sizeof(buffer);
        return ::GetUserNameA(buffer, &size) ? std::string(buffer) : std::string();
    }
    HANDLE rawToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_READ, &rawToken))
        return {};
    core::UniqueKernelHandle token(rawToken);
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return {};
    std::vector<unsigned char> information(size);
    if (!::GetTokenInformation(token.Get(), TokenUser, information.data(), size, &size))
        return {};
    PSID sid = reinterpret_cast<TOKEN_USER*>(information.data())->User.Sid;
    DWORD nameSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use{};
    ::LookupAccountSidA(nullptr, sid, nullptr, &nameSize, nullptr, &domainSize, &use);
    if (nameSize == 0 || domainSize == 0)
        return {};
    std::vector<char> name(nameSize + 1, '\0');
    std::vector<char> domain(domainSize + 1, '\0');
    if (!::LookupAccountSidA(nullptr, sid, name.data(), &nameSize, domain.data(), &domainSize,
                             &use))
        return {};
    return std::string(domain.data()) + "\\" + name.data();
}

}  // namespace setup::sysconfig::installer
