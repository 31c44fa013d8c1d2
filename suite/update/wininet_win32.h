// The update check's GET and the installer's download over WinINet.
#pragma once

#include "core/unique_handle.h"
#include "suite/update/installer_download.h"
#include "suite/update/update_request.h"

#include <windows.h>
#include <wininet.h>

namespace update {

using UniqueInternet = core::UniqueHandle<HINTERNET, &::InternetCloseHandle, 0>;

class WinInetHttpGet final : public IHttpGet
{
public:
    HttpAnswer Get(const std::wstring& url, unsigned timeoutMs) override;
};

// The installer's GET: only the connection has a time-out, reads wait for the server.
class WinInetDownloadSource final : public IDownloadSource
{
public:
    std::optional<int> Open(const std::wstring& url) override;
    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override;

private:
    UniqueInternet m_session;
    UniqueInternet m_connection;
    UniqueInternet m_request;
};

class Win32InstallerFile final : public IInstallerFile
{
public:
    bool Create(const std::wstring& path) override;
    bool Write(std::span<const std::uint8_t> bytes) override;
    void Close() override { m_file.Reset(); }

private:
    core::UniqueFile m_file;
};

}  // namespace update
