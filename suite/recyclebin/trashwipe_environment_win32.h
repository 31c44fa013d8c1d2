// What one call of Trashwipe works with: its own resources, the texts and pictures of the suite's
// libraries, the settings, the windows it may open, the Recycle Bin, the shred engine, the clock
// and the Windows version. The export fills it with the real ones; tests bring fakes.
#pragma once

#include "suite/common/language_client_win32.h"
#include "suite/recyclebin/html_log.h"
#include "suite/recyclebin/recycle_bin_source.h"
#include "suite/recyclebin/shred_worker.h"
#include "suite/recyclebin/trashwipe_settings.h"
#include "suite/recyclebin/ui_services.h"
#include "suite/recyclebin/windows_version.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace trashwipe {

struct TrashwipeEnvironment
{
    HINSTANCE module;  // Trashwipe's dialogs and bitmaps
    ILanguageTexts& texts;
    suite::CVNTLanguageClient* languages;  // pictures of the language libraries; may be none
    TrashwipeSettings& settings;
    IUiServices& ui;
    suite::ISuiteLocator& locator;
    IRecycleBinSource& source;
    IShredEngine& engine;
    ILogClock& clock;
    WindowsVersion version;
    // Every file of every fixed drive's old "Recycled" folder.
    std::function<std::vector<OldBinFile>()> oldBinFiles;
};

// Language texts through the language client.
class ClientTexts final : public ILanguageTexts
{
public:
    explicit ClientTexts(suite::CVNTLanguageClient& client) : m_client(client) {}
    std::wstring Text(std::wstring_view key, int languageIndex) override
    {
        return m_client.GetString(key, languageIndex);
    }
    int CurrentLanguage() override { return m_client.VNTGetCurrentLanguage(); }

private:
    suite::CVNTLanguageClient& m_client;
};

// The system clock and the local time zone.
class SystemLogClock final : public ILogClock
{
public:
    std::int64_t Now() override;
    std::optional<std::tm> LocalTime(std::int64_t seconds) override;
};

// The running Windows as GetVersionExW reports it (Wine's per-program version setting included).
WindowsVersion ReadWindowsVersion();

// The files of every fixed drive's "Recycled" folder, from "A:\" upwards.
std::vector<OldBinFile> ListOldRecycledFiles();

}  // namespace trashwipe
