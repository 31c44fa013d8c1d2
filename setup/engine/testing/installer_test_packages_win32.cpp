#include "setup/engine/testing/installer_test_packages_win32.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/unique_handle.h"
#include "setup/sysconfig/installer/msi_api.h"

namespace setup::sysconfig::installer::testing {
namespace {

std::string WindowsPath(std::string unixPath)
{
    for (char& c : unixPath)
        if (c == '/')
            c = '\\';
    return "Z:" + unixPath;
}

UniqueMsiHandle OpenDatabase(const std::string& packagePath, bool write)
{
    UniqueMsiHandle database;
    MsiApi().MsiOpenDatabaseA(packagePath.c_str(),
                              write ? reinterpret_cast<LPCSTR>(2) : reinterpret_cast<LPCSTR>(0),
                              database.Put());
    return database;
}

template <typename Read>
void ForEachRow(const std::string& packagePath, const std::string& sql, Read read)
{
    UniqueMsiHandle database = OpenDatabase(packagePath, false);
    UniqueMsiHandle view;
    if (!database ||
        MsiApi().MsiDatabaseOpenViewA(database.Get(), sql.c_str(), view.Put()) != ERROR_SUCCESS ||
        MsiApi().MsiViewExecute(view.Get(), 0) != ERROR_SUCCESS)
        return;
    for (;;) {
        UniqueMsiHandle row;
        if (MsiApi().MsiViewFetch(view.Get(), row.Put()) != ERROR_SUCCESS)
            break;
        read(row.Get());
    }
    MsiApi().MsiViewClose(view.Get());
}

void CopyOrFail(const std::string& from, const std::string& to)
{
    if (!::CopyFileA(from.c_str(), to.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + from);
}

}  // namespace

std::string MakeTempFolder(const std::string& name)
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof(temp), temp);
    const std::string folder = std::string(temp) + "installer_test_" + name + "_" +
                               std::to_string(::GetCurrentProcessId()) + "\\";
    RemoveFolderTree(folder);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolderTree(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string CopyPackage(const std::string& name, const std::string& folder)
{
    const std::string packages = WindowsPath(INSTALLER_TEST_PACKAGES) + "\\";
    const std::string sources = WindowsPath(INSTALLER_TEST_SOURCES) + "\\";
    const std::string packagePath = folder + name + ".msi";
    CopyOrFail(packages + name + ".msi", packagePath);
    // The uncompressed source: the product's folder below the package's folder.
    for (const char* product : {"ProbeProduct", "ProbeRefused"}) {
        const std::string productFolder = folder + product + "\\";
        ::CreateDirectoryA(productFolder.c_str(), nullptr);
        CopyOrFail(sources + "alpha.txt", productFolder + "alpha.txt");
        CopyOrFail(sources + "beta.txt", productFolder + "beta.txt");
    }
    return packagePath;
}

bool FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> QueryStrings(const std::string& packagePath, const std::string& sql)
{
    std::vector<std::string> values;
    ForEachRow(packagePath, sql, [&](MSIHANDLE row) { values.push_back(RecordString(row, 1)); });
    return values;
}

std::vector<int> QueryIntegers(const std::string& packagePath, const std::string& sql)
{
    std::vector<int> values;
    ForEachRow(packagePath, sql,
               [&](MSIHANDLE row) { values.push_back(MsiApi().MsiRecordGetInteger(row, 1)); });
    return values;
}

void RunStatement(const std::string& packagePath, const std::string& sql)
{
    UniqueMsiHandle database = OpenDatabase(packagePath, true);
    UniqueMsiHandle view;
    if (MsiApi().MsiDatabaseOpenViewA(database.Get(), sql.c_str(), view.Put()) != ERROR_SUCCESS)
        throw std::runtime_error("cannot prepare " + sql);
    if (MsiApi().MsiViewExecute(view.Get(), 0) != ERROR_SUCCESS)
        throw std::runtime_error("cannot run " + sql);
    MsiApi().MsiViewClose(view.Get());
    MsiApi().MsiDatabaseCommit(database.Get());
}

std::string PropertyValue(const std::string& packagePath, const std::string& name)
{
    const auto values =
        QueryStrings(packagePath, "SELECT `Value` FROM `Property` WHERE `Property`='" + name + "'");
    return values.empty() ? "<absent>" : values.front();
}

namespace {

UINT ReadSummary(const std::string& packagePath, unsigned field, INT& number, std::string& text)
{
    UniqueMsiHandle summary;
    MsiApi().MsiGetSummaryInformationA(0, packagePath.c_str(), 0, summary.Put());
    char buffer[512] = {};
    DWORD size = sizeof(buffer);
    UINT type = 0;
    FILETIME time{};
    MsiApi().MsiSummaryInfoGetPropertyA(summary.Get(), field, &type, &number, &time, buffer, &size);
    text = buffer;
    return type;
}

}  // namespace

std::string SummaryText(const std::string& packagePath, unsigned field)
{
    INT number = 0;
    std::string text;
    ReadSummary(packagePath, field, number, text);
    return text;
}

int SummaryInteger(const std::string& packagePath, unsigned field)
{
    INT number = 0;
    std::string text;
    ReadSummary(packagePath, field, number, text);
    return number;
}

}  // namespace setup::sysconfig::installer::testing
