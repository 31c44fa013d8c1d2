#include "setup/sysconfig/installer/package_edits_win32.h"

#include <algorithm>
#include <cctype>

#include "setup/engine/script/fast_strings.h"
#include "setup/engine/script/variables.h"
#include "setup/engine/system/file_utils_win32.h"
#include "setup/sysconfig/installer/msi_api.h"

namespace setup::sysconfig::installer {
namespace {

constexpr UINT kPidTemplate = 7;
constexpr UINT kPidRevNumber = 9;
constexpr UINT kPidWordCount = 15;
constexpr UINT kVtI4 = 3;
constexpr UINT kVtLpstr = 30;
constexpr int kComponent64Bit = 256;

UniqueMsiHandle OpenPackage(const std::string& path)
{
    UniqueMsiHandle database;
    // Direct mode: every statement goes straight into the package.
    MsiApi().MsiOpenDatabaseA(path.c_str(), reinterpret_cast<LPCSTR>(2), database.Put());
    return database;
}

// Runs one statement; a failure leaves the package as it was in that respect.
void Execute(MSIHANDLE database, const std::string& sql, MSIHANDLE parameters = 0)
{
    UniqueMsiHandle view;
    if (MsiApi().MsiDatabaseOpenViewA(database, sql.c_str(), view.Put()) != ERROR_SUCCESS)
        return;
    MsiApi().MsiViewExecute(view.Get(), parameters);
    MsiApi().MsiViewClose(view.Get());
}

UniqueMsiHandle StringRecord(const std::vector<std::string>& fields)
{
    UniqueMsiHandle record(MsiApi().MsiCreateRecord(static_cast<UINT>(fields.size())));
    for (std::size_t i = 0; i < fields.size(); ++i)
        MsiApi().MsiRecordSetStringA(record.Get(), static_cast<UINT>(i + 1), fields[i].c_str());
    return record;
}

// Localized texts come from translators and may hold quotes: they go in parameter records,
// never into the statement's text.
void ExecuteWith(MSIHANDLE database, const std::string& sql, const std::vector<std::string>& fields)
{
    UniqueMsiHandle record = StringRecord(fields);
    Execute(database, sql, record.Get());
}

template <typename RowEdit>
void UpdateEveryRow(MSIHANDLE database, const char* sql, RowEdit edit)
{
    UniqueMsiHandle view;
    if (MsiApi().MsiDatabaseOpenViewA(database, sql, view.Put()) != ERROR_SUCCESS)
        return;
    if (MsiApi().MsiViewExecute(view.Get(), 0) == ERROR_SUCCESS) {
        for (;;) {
            UniqueMsiHandle row;
            if (MsiApi().MsiViewFetch(view.Get(), row.Put()) != ERROR_SUCCESS)
                break;  // the end of the rows, or a fetch error
            edit(row.Get());
            MsiApi().MsiViewModify(view.Get(), MSIMODIFY_UPDATE, row.Get());
        }
    }
    MsiApi().MsiViewClose(view.Get());
}

void SetSummaryText(MSIHANDLE summary, UINT field, const std::string& text)
{
    MsiApi().MsiSummaryInfoSetPropertyA(summary, field, kVtLpstr, 0, nullptr, text.c_str());
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

void WriteMSIProperties(const std::string& packagePath, PackageInstanceState& instance,
                        MsiPropertyQueue& properties)
{
    if (instance.newInstanceMode && !instance.componentsRegenerated) {
        instance.componentsRegenerated = true;
        RegenerateComponentIds(packagePath);
    }
    auto queue = properties.TakeMSIPropertyQueue();
    if (!queue)
        return;
    UniqueMsiHandle database = OpenPackage(packagePath);
    for (std::size_t i = 0; i < queue->size(); ++i) {
        const QueuedProperty& property = (*queue)[i];
        if (i + 1 == queue->size() && instance.newInstanceMode) {
            UniqueMsiHandle summary;
            MsiApi().MsiGetSummaryInformationA(database.Get(), nullptr, 1, summary.Put());
            SetSummaryText(summary.Get(), kPidRevNumber, instance.cacheId);
            MsiApi().MsiSummaryInfoPersist(summary.Get());
            Execute(database.Get(), "UPDATE `Property` SET `Value`='" + instance.productCode +
                                        "' WHERE `Property`='ProductCode'");
            instance.instancePackagePath = packagePath;
        }
        const std::string value =
            engine::StrReplace(engine::DecodeNewlines(property.value), "'", "$QUOTE$",
                               engine::kReplaceAll | engine::kReplaceIgnoreCase);
        // The insert fails harmlessly for a property the package has; the update then sets it.
        Execute(database.Get(), "INSERT INTO `Property` ( `Property` , `Value` ) VALUES ( '" +
                                    property.name + "' , '" + value + "' )");
        Execute(database.Get(), "UPDATE `Property` SET `Value`='" + value + "' WHERE `Property`='" +
                                    property.name + "'");
    }
    MsiApi().MsiDatabaseCommit(database.Get());
}

void LocalizeMSIShortcuts(const std::string& packagePath, const std::vector<std::string>& list)
{
    UniqueMsiHandle database = OpenPackage(packagePath);
    for (std::size_t i = 0; i + 2 < list.size(); i += 3) {
        ExecuteWith(database.Get(), "UPDATE `Shortcut` SET `Name`=? WHERE `Directory_`=?",
                    {list[i + 1], list[i]});
        ExecuteWith(database.Get(), "UPDATE `Shortcut` SET `Description`=? WHERE `Directory_`=?",
                    {list[i + 2], list[i]});
    }
    MsiApi().MsiDatabaseCommit(database.Get());
}

void LocalizeMSIProgIds(const std::string& packagePath, const std::vector<std::string>& list)
{
    UniqueMsiHandle database = OpenPackage(packagePath);
    for (std::size_t i = 0; i + 2 < list.size(); i += 3) {
        ExecuteWith(database.Get(), "UPDATE `ProgId` SET `Description`=? WHERE `ProgId`=?",
                    {list[i + 2], list[i]});
        ExecuteWith(database.Get(), "UPDATE `ProgId` SET `ProgId`=? WHERE `ProgId`=?",
                    {list[i + 1], list[i]});
    }
    MsiApi().MsiDatabaseCommit(database.Get());
}

void SetPackageWordCount(const std::string& packagePath)
{
    UniqueMsiHandle database = OpenPackage(packagePath);
    UniqueMsiHandle summary;
    MsiApi().MsiGetSummaryInformationA(database.Get(), nullptr, 1, summary.Put());
    MsiApi().MsiSummaryInfoSetPropertyA(summary.Get(), kPidWordCount, kVtI4, 8, nullptr, nullptr);
    MsiApi().MsiSummaryInfoPersist(summary.Get());
    MsiApi().MsiDatabaseCommit(database.Get());
}

void SetPackagePlatform(const std::string& packagePath, const std::string& platform)
{
    bool changed = false;
    {
        UniqueMsiHandle database = OpenPackage(packagePath);
        UniqueMsiHandle summary;
        MsiApi().MsiGetSummaryInformationA(database.Get(), nullptr, 1, summary.Put());
        char buffer[260] = {};
        DWORD size = sizeof(buffer);
        UINT type = 0;
        INT intValue = 0;
        FILETIME time{};
        MsiApi().MsiSummaryInfoGetPropertyA(summary.Get(), kPidTemplate, &type, &intValue, &time,
                                            buffer, &size);
        const std::string templateText(buffer, ::strnlen(buffer, sizeof(buffer)));
        const auto separator = templateText.find(';');
        std::string platformPart = templateText.substr(0, separator);
        const std::string languagePart =
            separator == std::string::npos ? std::string() : templateText.substr(separator + 1);
        const std::string target = platform == "Win32"  ? "Intel"
                                   : platform == "ia64" ? "Intel64"
                                                        : "x64";
        changed = platformPart != target;
        if (changed)
            platformPart = target;
        SetSummaryText(summary.Get(), kPidTemplate, platformPart + ";" + languagePart);
        MsiApi().MsiSummaryInfoPersist(summary.Get());
        MsiApi().MsiDatabaseCommit(database.Get());
    }
    if (!changed)
        return;
    UniqueMsiHandle database = OpenPackage(packagePath);
    const bool is64Bit = platform != "Win32";
    UpdateEveryRow(database.Get(), "SELECT `Attributes` FROM `Component`", [&](MSIHANDLE row) {
        int attributes = MsiApi().MsiRecordGetInteger(row, 1);
        attributes = is64Bit ? (attributes | kComponent64Bit) : (attributes & ~kComponent64Bit);
        MsiApi().MsiRecordSetInteger(row, 1, attributes);
    });
    MsiApi().MsiDatabaseCommit(database.Get());
}

void RegenerateComponentIds(const std::string& packagePath)
{
    UniqueMsiHandle database = OpenPackage(packagePath);
    if (!database)
        return;
    UpdateEveryRow(database.Get(), "SELECT `ComponentId` FROM `Component`", [](MSIHANDLE row) {
        MsiApi().MsiRecordSetStringA(row, 1, engine::CreateGuidString().c_str());
    });
    MsiApi().MsiDatabaseCommit(database.Get());
}

bool PackageCodeMatches(const std::string& productCode, const std::string& packageCode)
{
    char buffer[260] = {};
    DWORD size = sizeof(buffer);
    if (MsiApi().MsiGetProductInfoA(productCode.c_str(), "PackageCode", buffer, &size) !=
        ERROR_SUCCESS)
        return false;
    return Lower(std::string(buffer, ::strnlen(buffer, sizeof(buffer)))) == Lower(packageCode);
}

}  // namespace setup::sysconfig::installer
