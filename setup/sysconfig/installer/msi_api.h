// Every Windows Installer call of the setup program goes through this one table. The default,
// MsiLibrary, binds each function of "msi.dll" by name on its first call and keeps it; tests
// derive from it to stand in for what their system's Windows Installer does not do.
#pragma once

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>
#include <utility>

namespace setup::sysconfig::installer {

class IMsiApi
{
public:
    virtual ~IMsiApi() = default;
    virtual UINT MsiInstallProductA(LPCSTR packagePath, LPCSTR commandLine) = 0;
    virtual UINT MsiApplyPatchA(LPCSTR patchPackage, LPCSTR installPackage, INSTALLTYPE type,
                                LPCSTR commandLine) = 0;
    virtual UINT MsiOpenPackageA(LPCSTR packagePath, MSIHANDLE* handle) = 0;
    virtual UINT MsiSetPropertyA(MSIHANDLE handle, LPCSTR name, LPCSTR value) = 0;
    virtual UINT MsiDoActionA(MSIHANDLE handle, LPCSTR action) = 0;
    virtual BOOL MsiGetMode(MSIHANDLE handle, MSIRUNMODE mode) = 0;
    virtual UINT MsiCloseHandle(MSIHANDLE handle) = 0;
    virtual INSTALLSTATE MsiQueryProductStateA(LPCSTR product) = 0;
    virtual UINT MsiSourceListAddSourceA(LPCSTR product, LPCSTR userName, DWORD reserved,
                                         LPCSTR source) = 0;
    virtual UINT MsiEnableLogA(DWORD logMode, LPCSTR logFile, DWORD attributes) = 0;
    virtual INSTALLUILEVEL MsiSetInternalUI(INSTALLUILEVEL level, HWND* window) = 0;
    virtual INSTALLUI_HANDLERA MsiSetExternalUIA(INSTALLUI_HANDLERA handler, DWORD filter,
                                                 LPVOID context) = 0;
    virtual UINT MsiGetProductInfoA(LPCSTR product, LPCSTR property, LPSTR value, LPDWORD size) = 0;
    virtual UINT MsiOpenDatabaseA(LPCSTR path, LPCSTR persist, MSIHANDLE* database) = 0;
    virtual UINT MsiDatabaseOpenViewA(MSIHANDLE database, LPCSTR query, MSIHANDLE* view) = 0;
    virtual UINT MsiDatabaseCommit(MSIHANDLE database) = 0;
    virtual UINT MsiViewExecute(MSIHANDLE view, MSIHANDLE record) = 0;
    virtual UINT MsiViewFetch(MSIHANDLE view, MSIHANDLE* record) = 0;
    virtual UINT MsiViewModify(MSIHANDLE view, MSIMODIFY mode, MSIHANDLE record) = 0;
    virtual UINT MsiViewClose(MSIHANDLE view) = 0;
    virtual MSIHANDLE MsiCreateRecord(UINT fields) = 0;
    virtual int MsiRecordGetInteger(MSIHANDLE record, UINT field) = 0;
    virtual UINT MsiRecordSetInteger(MSIHANDLE record, UINT field, int value) = 0;
    virtual UINT MsiRecordGetStringA(MSIHANDLE record, UINT field, LPSTR value, LPDWORD size) = 0;
    virtual UINT MsiRecordSetStringA(MSIHANDLE record, UINT field, LPCSTR value) = 0;
    virtual UINT MsiGetSummaryInformationA(MSIHANDLE database, LPCSTR path, UINT updateCount,
                                           MSIHANDLE* summary) = 0;
    virtual UINT MsiSummaryInfoGetPropertyA(MSIHANDLE summary, UINT property, UINT* type,
                                            INT* intValue, FILETIME* time, LPSTR text,
                                            LPDWORD size) = 0;
    virtual UINT MsiSummaryInfoSetPropertyA(MSIHANDLE summary, UINT property, UINT type,
                                            INT intValue, FILETIME* time, LPCSTR text) = 0;
    virtual UINT MsiSummaryInfoPersist(MSIHANDLE summary) = 0;
};

// The real library. A missing library raises "Library not found: msi.dll"; a missing function
// "Function not found: msi.dll." and its name.
class MsiLibrary : public IMsiApi
{
public:
    UINT MsiInstallProductA(LPCSTR packagePath, LPCSTR commandLine) override;
    UINT MsiApplyPatchA(LPCSTR patchPackage, LPCSTR installPackage, INSTALLTYPE type,
                        LPCSTR commandLine) override;
    UINT MsiOpenPackageA(LPCSTR packagePath, MSIHANDLE* handle) override;
    UINT MsiSetPropertyA(MSIHANDLE handle, LPCSTR name, LPCSTR value) override;
    UINT MsiDoActionA(MSIHANDLE handle, LPCSTR action) override;
    BOOL MsiGetMode(MSIHANDLE handle, MSIRUNMODE mode) override;
    UINT MsiCloseHandle(MSIHANDLE handle) override;
    INSTALLSTATE MsiQueryProductStateA(LPCSTR product) override;
    UINT MsiSourceListAddSourceA(LPCSTR product, LPCSTR userName, DWORD reserved,
                                 LPCSTR source) override;
    UINT MsiEnableLogA(DWORD logMode, LPCSTR logFile, DWORD attributes) override;
    INSTALLUILEVEL MsiSetInternalUI(INSTALLUILEVEL level, HWND* window) override;
    INSTALLUI_HANDLERA MsiSetExternalUIA(INSTALLUI_HANDLERA handler, DWORD filter,
                                         LPVOID context) override;
    UINT MsiGetProductInfoA(LPCSTR product, LPCSTR property, LPSTR value, LPDWORD size) override;
    UINT MsiOpenDatabaseA(LPCSTR path, LPCSTR persist, MSIHANDLE* database) override;
    UINT MsiDatabaseOpenViewA(MSIHANDLE database, LPCSTR query, MSIHANDLE* view) override;
    UINT MsiDatabaseCommit(MSIHANDLE database) override;
    UINT MsiViewExecute(MSIHANDLE view, MSIHANDLE record) override;
    UINT MsiViewFetch(MSIHANDLE view, MSIHANDLE* record) override;
    UINT MsiViewModify(MSIHANDLE view, MSIMODIFY mode, MSIHANDLE record) override;
    UINT MsiViewClose(MSIHANDLE view) override;
    MSIHANDLE MsiCreateRecord(UINT fields) override;
    int MsiRecordGetInteger(MSIHANDLE record, UINT field) override;
    UINT MsiRecordSetInteger(MSIHANDLE record, UINT field, int value) override;
    UINT MsiRecordGetStringA(MSIHANDLE record, UINT field, LPSTR value, LPDWORD size) override;
    UINT MsiRecordSetStringA(MSIHANDLE record, UINT field, LPCSTR value) override;
    UINT MsiGetSummaryInformationA(MSIHANDLE database, LPCSTR path, UINT updateCount,
                                   MSIHANDLE* summary) override;
    UINT MsiSummaryInfoGetPropertyA(MSIHANDLE summary, UINT property, UINT* type, INT* intValue,
                                    FILETIME* time, LPSTR text, LPDWORD size) override;
    UINT MsiSummaryInfoSetPropertyA(MSIHANDLE summary, UINT property, UINT type, INT intValue,
                                    FILETIME* time, LPCSTR text) override;
    UINT MsiSummaryInfoPersist(MSIHANDLE summary) override;
};

// The table every installer routine uses: MsiLibrary unless a test put another in.
IMsiApi& MsiApi();
// Returns the previous table; nullptr restores the library.
IMsiApi* SetMsiApi(IMsiApi* api);

// Owns one Windows Installer handle and closes it through the table.
class UniqueMsiHandle
{
public:
    UniqueMsiHandle() = default;
    explicit UniqueMsiHandle(MSIHANDLE handle) : m_handle(handle) {}
    ~UniqueMsiHandle() { Reset(); }
    UniqueMsiHandle(UniqueMsiHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, 0))
    {}
    UniqueMsiHandle& operator=(UniqueMsiHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, 0);
        }
        return *this;
    }
    MSIHANDLE Get() const { return m_handle; }
    MSIHANDLE* Put()
    {
        Reset();
        return &m_handle;
    }
    explicit operator bool() const { return m_handle != 0; }
    void Reset()
    {
        if (!m_handle)
            return;
        try {
            MsiApi().MsiCloseHandle(std::exchange(m_handle, 0));
        } catch (...) {
            // A handle exists only once the library was bound; nothing more can be done here.
        }
    }

private:
    MSIHANDLE m_handle = 0;
};

// A record field as text; empty when it cannot be read.
std::string RecordString(MSIHANDLE record, UINT field);

}  // namespace setup::sysconfig::installer
