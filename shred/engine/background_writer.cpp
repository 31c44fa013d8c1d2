#include "shred/engine/background_writer.h"

#include <system_error>

namespace shred {
namespace {

// Rounds the writer spins for the next request before it sleeps: about a millisecond, far
// longer than the engine needs between chunks, far shorter than any pause.
constexpr int kIdleRounds = 2000;

}  // namespace

BackgroundWriter::~BackgroundWriter()
{
    if (!m_thread.joinable())
        return;
    m_state.store(kStop, std::memory_order_release);
    Wake();
    m_thread.join();
}

bool BackgroundWriter::Start(HANDLE file, const std::uint8_t* data, std::uint32_t length) noexcept
{
    if (m_failedToStart)
        return false;
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            m_failedToStart = true;
            return false;
        }
    }
    m_file = file;
    m_data = data;
    m_length = length;
    m_state.store(kRequested, std::memory_order_release);
    try {
        Wake();
    } catch (const std::system_error&) {
        // The writer is spinning or will see the request before it sleeps again.
    }
    return true;
}

bool BackgroundWriter::Finish(std::uint32_t& written) noexcept
{
    while (m_state.load(std::memory_order_acquire) != kDone)
        std::this_thread::yield();
    m_state.store(kIdle, std::memory_order_relaxed);
    written = m_written;
    return m_ok;
}

void BackgroundWriter::Wake()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_sleeping)
        m_wake.notify_one();
}

void BackgroundWriter::Run() noexcept
{
    int idle = 0;
    for (;;) {
        const int state = m_state.load(std::memory_order_acquire);
        if (state == kStop)
            return;
        if (state == kRequested) {
            DWORD count = 0;
            m_ok = ::WriteFile(m_file, m_data, m_length, &count, nullptr) != FALSE;
            m_written = count;
            m_state.store(kDone, std::memory_order_release);
            idle = 0;
            continue;
        }
        if (++idle < kIdleRounds) {
            std::this_thread::yield();
            continue;
        }
        try {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_sleeping = true;
            m_wake.wait(lock, [this] {
                const int s = m_state.load(std::memory_order_acquire);
                return s == kRequested || s == kStop;
            });
            m_sleeping = false;
        } catch (const std::system_error&) {
            // Keep spinning instead.
        }
        idle = 0;
    }
}

}  // namespace shred
