#include "shred/snapshots/volume_control_win32.h"

#include "core/unique_handle.h"
#include "shred/engine/system_win32.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>

namespace shred::snapshots {
namespace {

struct IoStatusBlock
{
    union {
        LONG status;
        PVOID pointer;
    };
    ULONG_PTR information;
};

using NtFsControlFileCall = LONG(NTAPI*)(HANDLE file, HANDLE event, PVOID apcRoutine,
                                         PVOID apcContext, IoStatusBlock* ioStatus,
                                         ULONG controlCode, PVOID input, ULONG inputLength,
                                         PVOID output, ULONG outputLength);

#if defined(_M_IX86) || defined(__i386__)
static_assert(sizeof(MOVE_FILE_DATA) == 32 && offsetof(MOVE_FILE_DATA, StartingVcn) == 8 &&
                  offsetof(MOVE_FILE_DATA, ClusterCount) == 24,
              "the move request is 32 bytes with the handle padded to 8");
#endif

NtFsControlFileCall LookUpVolumeControl() noexcept
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll)
        return nullptr;
    return reinterpret_cast<NtFsControlFileCall>(::GetProcAddress(ntdll, "NtFsControlFile"));
}

// Issues the control; a pending answer is waited for on waitHandle and taken from the status block.
std::uint32_t FsControl(HANDLE handle, HANDLE waitHandle, ULONG code, void* input,
                        ULONG inputLength, void* output, ULONG outputLength)
{
    static const NtFsControlFileCall call = LookUpVolumeControl();
    if (!call)
        return kStatusNotImplemented;
    IoStatusBlock ioStatus{};
    auto status = static_cast<std::uint32_t>(call(handle, nullptr, nullptr, nullptr, &ioStatus,
                                                  code, input, inputLength, output, outputLength));
    if (status == kStatusPending) {
        ::WaitForSingleObject(waitHandle, INFINITE);
        status = static_cast<std::uint32_t>(ioStatus.status);
    }
    return status;
}

class Win32ClusterFile : public IClusterFile
{
public:
    explicit Win32ClusterFile(core::UniqueFile file)
        : m_file(std::move(file)), m_view(BorrowFileHandle(m_file.Get()))
    {}
    void* NativeHandle() override { return m_file.Get(); }
    bool GetSize(std::uint64_t& size) override { return m_view->GetSize(size); }
    bool Seek(std::uint64_t offset) override { return m_view->Seek(offset); }
    bool Write(const std::uint8_t* data, std::uint32_t length, std::uint32_t& written) override
    {
        return m_view->Write(data, length, written);
    }
    bool SetEndOfFile() override { return m_view->SetEndOfFile(); }
    bool SetTimes(std::uint64_t fileTime) override { return m_view->SetTimes(fileTime); }
    bool Flush() override { return m_view->Flush(); }

private:
    core::UniqueFile m_file;
    std::unique_ptr<IShredFile> m_view;
};

class Win32Volume : public IVolume
{
public:
    explicit Win32Volume(core::UniqueFile volume) : m_volume(std::move(volume)) {}

    std::uint32_t GetVolumeBitmap(std::uint64_t startingLcn, VolumeBitmapPage& page) override
    {
        struct
        {
            LARGE_INTEGER startingLcn;
            LARGE_INTEGER bitmapSize;
            std::uint8_t bits[kBitmapPageBytes];
        } answer{};
        static_assert(sizeof(answer) == 4112, "the bitmap answer is 16 + 4096 bytes");
        STARTING_LCN_INPUT_BUFFER request{};
        request.StartingLcn.QuadPart = static_cast<LONGLONG>(startingLcn);
        const std::uint32_t status =
            FsControl(m_volume.Get(), m_volume.Get(), FSCTL_GET_VOLUME_BITMAP, &request,
                      sizeof request, &answer, sizeof answer);
        page.startingLcn = static_cast<std::uint64_t>(answer.startingLcn.QuadPart);
        page.bitmapSize = static_cast<std::uint64_t>(answer.bitmapSize.QuadPart);
        std::memcpy(page.bits.data(), answer.bits, kBitmapPageBytes);
        return status;
    }

    std::uint32_t MoveClusters(IClusterFile& file, std::uint64_t startingVcn,
                               std::uint64_t targetLcn, std::uint32_t clusterCount) override
    {
        MOVE_FILE_DATA request{};
        request.FileHandle = file.NativeHandle();
        request.StartingVcn.QuadPart = static_cast<LONGLONG>(startingVcn);
        request.StartingLcn.QuadPart = static_cast<LONGLONG>(targetLcn);
        request.ClusterCount = clusterCount;
        return FsControl(m_volume.Get(), file.NativeHandle(), FSCTL_MOVE_FILE, &request,
                         sizeof request, nullptr, 0);
    }

private:
    core::UniqueFile m_volume;
};

std::string LastErrorText(DWORD error)
{
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    core::UniqueHeapMemory owner(text);
    return length ? std::string(text, length) : std::string();
}

}  // namespace

bool HasVolumeControlCall() noexcept
{
    return LookUpVolumeControl() != nullptr;
}

bool Win32VolumeControl::QueryGeometry(const std::wstring& root, ClusterGeometry& geometry)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!::GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                             &totalClusters))
        return false;
    geometry = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
    return true;
}

std::unique_ptr<IClusterFile> Win32VolumeControl::CreateTempFile(const std::wstring& path)
{
    core::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        CREATE_ALWAYS, FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING | FILE_ATTRIBUTE_NORMAL,
        nullptr));
    if (!file)
        return nullptr;
    return std::make_unique<Win32ClusterFile>(std::move(file));
}

bool Win32VolumeControl::RemoveFile(const std::wstring& path)
{
    return ::DeleteFileW(path.c_str()) != FALSE;
}

std::unique_ptr<IVolume> Win32VolumeControl::OpenVolume(wchar_t driveLetter, std::string& errorText)
{
    std::wstring path = L"\\\\.\\A:";
    path[4] = driveLetter;
    core::UniqueFile volume(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    if (!volume) {
        errorText = LastErrorText(::GetLastError());
        return nullptr;
    }
    return std::make_unique<Win32Volume>(std::move(volume));
}

std::uint32_t Win32VolumeControl::Seconds()
{
    return DefaultShredSystem().Seconds();
}

void Win32VolumeControl::Print(std::string_view text)
{
    DefaultShredSystem().Print(text);
}

}  // namespace shred::snapshots
