// A thread that carries out one file write at a time for the engine's thread, so that the next
// chunk reaches the file while the engine reports progress and waits on the pause event. One
// writer serves every file of a call: starting a thread per file costs more than a small file's
// whole overwrite on some systems.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace shred {

class BackgroundWriter
{
public:
    BackgroundWriter() noexcept = default;
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // False when no thread can run the write; the caller then writes itself. The handle stays
    // the caller's and stays open until Finish returns.
    bool Start(HANDLE file, const std::uint8_t* data, std::uint32_t length) noexcept;
    bool Finish(std::uint32_t& written) noexcept;

private:
    enum State : int
    {
        kIdle,
        kRequested,
        kDone,
        kStop
    };

    void Run() noexcept;
    void Wake();

    HANDLE m_file = nullptr;
    std::thread m_thread;
    bool m_failedToStart = false;
    std::atomic<int> m_state{kIdle};
    const std::uint8_t* m_data = nullptr;
    std::uint32_t m_length = 0;
    std::uint32_t m_written = 0;
    bool m_ok = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_sleeping = false;
};

}  // namespace shred
