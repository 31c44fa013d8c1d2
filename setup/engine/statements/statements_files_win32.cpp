#include "setup/engine/statements/statements_files_win32.h"

#include <windows.h>

#include <atomic>

#include "setup/engine/rtl/thread_win32.h"
#include "setup/engine/system/file_system_win32.h"

namespace setup::engine {
namespace {

class TFindAllFilesThread final : public rtl::TThread
{
public:
    TFindAllFilesThread(IFileSystemView& fs, FindAllFilesRequest request)
        : m_fs(fs), m_request(std::move(request))
    {}
    ~TFindAllFilesThread() override
    {
        Terminate();
        WaitFor();
    }

    bool SearchFinished() const { return m_finished; }
    std::vector<std::string> TakeResult() { return std::move(m_result); }

protected:
    void Execute() override
    {
        try {
            m_result = FindAllFiles(m_fs, m_request.folderAndMask, m_request.recurse,
                                    m_request.includeFolders, *m_request.progress,
                                    *m_request.variables, [this] { return Terminated(); });
        } catch (...) {
            // An empty or partial list is all a failed search can report.
        }
        Synchronize([this] { m_finished = true; });
        rtl::WakeMainThread();
    }

private:
    IFileSystemView& m_fs;
    FindAllFilesRequest m_request;
    std::vector<std::string> m_result;
    std::atomic<bool> m_finished{false};
};

}  // namespace

std::optional<std::uint32_t> Win32FileFacts::GetAttributes(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return attributes;
}

FileVersion Win32FileFacts::GetFileVersionParts(const std::string& path)
{
    return engine::GetFileVersionParts(path);
}

std::string Win32FileFacts::CreateTempFile(const std::string& folder, const std::string& prefix)
{
    char buffer[MAX_PATH + 1] = {};
    if (::GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, buffer) == 0)
        return {};
    return buffer;
}

FileVersion GetFileVersionParts(const std::string& path)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        fixed == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return FileVersionFromWords(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}

std::vector<std::string> Win32FindAllFilesWorker::Run(IFileSystemView& fs,
                                                      const FindAllFilesRequest& request,
                                                      const std::function<int()>& checkCancel)
{
    TFindAllFilesThread thread(fs, request);
    thread.Start();
    while (!thread.SearchFinished()) {
        if (request.variables->SilentMode)
            thread.WaitFor();
        else
            rtl::HandleMessage();
        if (checkCancel && checkCancel() == -1)
            thread.Terminate();
    }
    thread.WaitFor();
    return thread.TakeResult();
}

FileStatementServices Win32FileStatementServices(IWow64Services& wow64)
{
    static Win32FileFacts facts;
    static Win32FindAllFilesWorker worker;
    return {&wow64, &Win32FileSystem(), &facts, &worker};
}

}  // namespace setup::engine
