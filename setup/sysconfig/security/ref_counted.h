// Reference counting for the security library's objects: an intrusive count, so an object can hand
// out references to itself and an ACL can ask whether anyone else still holds one of its entries.
#pragma once

#include <atomic>
#include <cassert>
#include <utility>

namespace setup::sysconfig::security {

class RefCounted
{
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    void AddRef() const noexcept { m_count.fetch_add(1, std::memory_order_relaxed); }
    void Release() const noexcept
    {
        if (m_count.fetch_sub(1, std::memory_order_acq_rel) != 1)
            return;
        // The last holder lets go: the object may still write pending changes, holding itself
        // alive meanwhile so references made during that work do not destroy it twice.
        m_count.store(1, std::memory_order_relaxed);
        const_cast<RefCounted*>(this)->LastReleased();
        if (m_count.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    int RefCount() const noexcept { return m_count.load(std::memory_order_relaxed); }

protected:
    virtual ~RefCounted() { assert(m_count.load() == 0 && "object with references destroyed"); }
    // Called once when the last reference goes, before destruction.
    virtual void LastReleased() {}

private:
    mutable std::atomic<int> m_count{0};
};

// A counted reference.
template <typename T>
class Ref
{
public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* object) noexcept : m_object(object)
    {
        if (m_object)
            m_object->AddRef();
    }
    Ref(const Ref& other) noexcept : Ref(other.m_object) {}
    template <typename U>
    Ref(const Ref<U>& other) noexcept : Ref(other.Get())
    {}
    Ref(Ref&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ~Ref() { Reset(); }
    Ref& operator=(Ref other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }

    void Reset() noexcept
    {
        if (T* old = std::exchange(m_object, nullptr))
            old->Release();
    }
    T* Get() const noexcept { return m_object; }
    T* operator->() const noexcept { return m_object; }
    T& operator*() const noexcept { return *m_object; }
    explicit operator bool() const noexcept { return m_object != nullptr; }
    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.m_object == b.m_object; }

private:
    T* m_object = nullptr;
};

template <typename T, typename... Args>
Ref<T> MakeRef(Args&&... args)
{
    return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace setup::sysconfig::security
