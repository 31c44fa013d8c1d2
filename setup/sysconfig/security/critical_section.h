// The library's lock: a recursive section that knows its owning thread and lock count, so only
// the owner can leave it and a busy TryEnter is reported instead of waited for.
#pragma once

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "setup/sysconfig/security/basic_object.h"

namespace setup::sysconfig::security {

// Raised for programming errors only (a bad list index).
class KroException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class CriticalSection : public BasicObject
{
public:
    void Enter();
    // False with 0x10003 when another thread owns the section.
    bool TryEnter();
    // Only the owning thread may leave; any other gets 0x10004 and the section is untouched.
    bool Leave();
    std::thread::id OwningThread() const { return m_owner.load(); }
    int LockCount() const { return m_count.load(); }
    bool OwnedByCurrentThread() const { return m_owner.load() == std::this_thread::get_id(); }

private:
    std::recursive_mutex m_mutex;
    // Read by other threads to refuse their Leave.
    std::atomic<std::thread::id> m_owner{};
    std::atomic<int> m_count{0};
};

}  // namespace setup::sysconfig::security
