#include <mutex>
#include <vector>

#include "core/unique_handle.h"
#include "setup/engine/rtl/exceptions.h"
#include "setup/sysconfig/installer/msi_api.h"

namespace setup::sysconfig::installer {
namespace {

constexpr const char* kLibraryName = "msi.dll";

HMODULE InstallerLibrary()
{
    static std::mutex lock;
    static core::UniqueModule loaded;
    std::lock_guard guard(lock);
    if (HMODULE module = ::GetModuleHandleA(kLibraryName))
        return module;
    if (!loaded)
        loaded.Reset(::LoadLibraryA(kLibraryName));
    if (!loaded)
        throw rtl::Exception(std::string("Library not found: ") + kLibraryName);
    return loaded.Get();
}

FARPROC BindFunction(const char* name)
{
    const FARPROC function = ::GetProcAddress(InstallerLibrary(), name);
    if (!function)
        throw rtl::Exception(std::string("Function not found: ") + kLibraryName + "." + name);
    return function;
}

IMsiApi* g_override = nullptr;

}  // namespace

// Each function is bound on its first call and kept (one static per function: several share a
// signature); a failed binding is tried again on the next call.
#define CALL_MSI(name, ...)                                                                \
    static const auto function = reinterpret_cast<decltype(&::name)>(BindFunction(#name)); \
    return function(__VA_ARGS__)

UINT MsiLibrary::MsiInstallProductA(LPCSTR packagePath, LPCSTR commandLine)
{
    CALL_MSI(MsiInstallProductA, packagePath, commandLine);
}
UINT MsiLibrary::MsiApplyPatchA(LPCSTR patchPackage, LPCSTR installPackage, INSTALLTYPE type,
                                LPCSTR commandLine)
{
    CALL_MSI(MsiApplyPatchA, patchPackage, installPackage, type, commandLine);
}
UINT MsiLibrary::MsiOpenPackageA(LPCSTR packagePath, MSIHANDLE* handle)
{
    CALL_MSI(MsiOpenPackageA, packagePath, handle);
}
UINT MsiLibrary::MsiSetPropertyA(MSIHANDLE handle, LPCSTR name, LPCSTR value)
{
    CALL_MSI(MsiSetPropertyA, handle, name, value);
}
UINT MsiLibrary::MsiDoActionA(MSIHANDLE handle, LPCSTR action)
{
    CALL_MSI(MsiDoActionA, handle, action);
}
BOOL MsiLibrary::MsiGetMode(MSIHANDLE handle, MSIRUNMODE mode)
{
    CALL_MSI(MsiGetMode, handle, mode);
}
UINT MsiLibrary::MsiCloseHandle(MSIHANDLE handle)
{
    CALL_MSI(MsiCloseHandle, handle);
}
INSTALLSTATE MsiLibrary::MsiQueryProductStateA(LPCSTR product)
{
    CALL_MSI(MsiQueryProductStateA, product);
}
UINT MsiLibrary::MsiSourceListAddSourceA(LPCSTR product, LPCSTR userName, DWORD reserved,
                                         LPCSTR source)
{
    CALL_MSI(MsiSourceListAddSourceA, product, userName, reserved, source);
}
UINT MsiLibrary::MsiEnableLogA(DWORD logMode, LPCSTR logFile, DWORD attributes)
{
    CALL_MSI(MsiEnableLogA, logMode, logFile, attributes);
}
INSTALLUILEVEL MsiLibrary::MsiSetInternalUI(INSTALLUILEVEL level, HWND* window)
{
    CALL_MSI(MsiSetInternalUI, level, window);
}
INSTALLUI_HANDLERA MsiLibrary::MsiSetExternalUIA(INSTALLUI_HANDLERA handler, DWORD filter,
                                                 LPVOID context)
{
    CALL_MSI(MsiSetExternalUIA, handler, filter, context);
}
UINT MsiLibrary::MsiGetProductInfoA(LPCSTR product, LPCSTR property, LPSTR value, LPDWORD size)
{
    CALL_MSI(MsiGetProductInfoA, product, property, value, size);
}
UINT MsiLibrary::MsiOpenDatabaseA(LPCSTR path, LPCSTR persist, MSIHANDLE* database)
{
    CALL_MSI(MsiOpenDatabaseA, path, persist, database);
}
UINT MsiLibrary::MsiDatabaseOpenViewA(MSIHANDLE database, LPCSTR query, MSIHANDLE* view)
{
    CALL_MSI(MsiDatabaseOpenViewA, database, query, view);
}
UINT MsiLibrary::MsiDatabaseCommit(MSIHANDLE database)
{
    CALL_MSI(MsiDatabaseCommit, database);
}
UINT MsiLibrary::MsiViewExecute(MSIHANDLE view, MSIHANDLE record)
{
    CALL_MSI(MsiViewExecute, view, record);
}
UINT MsiLibrary::MsiViewFetch(MSIHANDLE view, MSIHANDLE* record)
{
    CALL_MSI(MsiViewFetch, view, record);
}
UINT MsiLibrary::MsiViewModify(MSIHANDLE view, MSIMODIFY mode, MSIHANDLE record)
{
    CALL_MSI(MsiViewModify, view, mode, record);
}
UINT MsiLibrary::MsiViewClose(MSIHANDLE view)
{
    CALL_MSI(MsiViewClose, view);
}
MSIHANDLE MsiLibrary::MsiCreateRecord(UINT fields)
{
    CALL_MSI(MsiCreateRecord, fields);
}
int MsiLibrary::MsiRecordGetInteger(MSIHANDLE record, UINT field)
{
    CALL_MSI(MsiRecordGetInteger, record, field);
}
UINT MsiLibrary::MsiRecordSetInteger(MSIHANDLE record, UINT field, int value)
{
    CALL_MSI(MsiRecordSetInteger, record, field, value);
}
UINT MsiLibrary::MsiRecordGetStringA(MSIHANDLE record, UINT field, LPSTR value, LPDWORD size)
{
    CALL_MSI(MsiRecordGetStringA, record, field, value, size);
}
UINT MsiLibrary::MsiRecordSetStringA(MSIHANDLE record, UINT field, LPCSTR value)
{
    CALL_MSI(MsiRecordSetStringA, record, field, value);
}
UINT MsiLibrary::MsiGetSummaryInformationA(MSIHANDLE database, LPCSTR path, UINT updateCount,
                                           MSIHANDLE* summary)
{
    CALL_MSI(MsiGetSummaryInformationA, database, path, updateCount, summary);
}
UINT MsiLibrary::MsiSummaryInfoGetPropertyA(MSIHANDLE summary, UINT property, UINT* type,
                                            INT* intValue, FILETIME* time, LPSTR text, LPDWORD size)
{
    CALL_MSI(MsiSummaryInfoGetPropertyA, summary, property, type, intValue, time, text, size);
}
UINT MsiLibrary::MsiSummaryInfoSetPropertyA(MSIHANDLE summary, UINT property, UINT type,
                                            INT intValue, FILETIME* time, LPCSTR text)
{
    CALL_MSI(MsiSummaryInfoSetPropertyA, summary, property, type, intValue, time, text);
}
UINT MsiLibrary::MsiSummaryInfoPersist(MSIHANDLE summary)
{
    CALL_MSI(MsiSummaryInfoPersist, summary);
}

#undef CALL_MSI

IMsiApi& MsiApi()
{
    static MsiLibrary library;
    return g_override ? *g_override : library;
}

IMsiApi* SetMsiApi(IMsiApi* api)
{
    return std::exchange(g_override, api);
}

std::string RecordString(MSIHANDLE record, UINT field)
{
    DWORD size = 0;
    char probe[1] = {};
    UINT rc = MsiApi().MsiRecordGetStringA(record, field, probe, &size);
    if (rc != ERROR_MORE_DATA && rc != ERROR_SUCCESS)
        return {};
    std::vector<char> buffer(size + 1, '\0');
    size = static_cast<DWORD>(buffer.size());
    if (MsiApi().MsiRecordGetStringA(record, field, buffer.data(), &size) != ERROR_SUCCESS)
        return {};
    return std::string(buffer.data(), size);
}

}  // namespace setup::sysconfig::installer
