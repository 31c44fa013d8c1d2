// Runs a function when a scope ends, unless dismissed: for whatever must be restored or undone.
#pragma once

#include <utility>

namespace core {

template <typename F>
class [[nodiscard]] ScopeGuard
{
public:
    explicit ScopeGuard(F action) noexcept : m_action(std::move(action)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ScopeGuard(ScopeGuard&& other) noexcept
        : m_action(std::move(other.m_action)), m_active(std::exchange(other.m_active, false))
    {}
    ~ScopeGuard()
    {
        if (m_active)
            m_action();
    }

    void Dismiss() noexcept { m_active = false; }

private:
    F m_action;
    bool m_active = true;
};

template <typename F>
[[nodiscard]] ScopeGuard<F> MakeScopeGuard(F action) noexcept
{
    return ScopeGuard<F>(std::move(action));
}

}  // namespace core
