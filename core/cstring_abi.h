// The reference-counted wide string that libraries pass to each other by value.
// The object is one pointer to the characters; a header before them records the string manager that
// owns the buffer, the length, the capacity and the reference count. Whoever ends up holding a
// reference releases it through the manager recorded in the header, so a string may travel between
// modules with separate heaps. A module's strings must all be released before it is unloaded.
#pragma once

#include <cstddef>
#include <string_view>
#include <type_traits>

namespace core {

struct IStringManager;

struct CStringData
{
    IStringManager* manager;
    int dataLength;   // characters, without the terminating zero
    int allocLength;  // characters the buffer can hold, without the terminating zero
    long refs;

    wchar_t* Chars() noexcept { return reinterpret_cast<wchar_t*>(this + 1); }
};

// Allocates and frees string buffers (header, characters and a terminating zero).
struct IStringManager
{
    virtual CStringData* Allocate(int allocLength) noexcept = 0;
    virtual void Free(CStringData* data) noexcept = 0;

protected:
    ~IStringManager() = default;
};

// The by-value object. A null pointer reads as the empty text.
struct CStringW
{
    wchar_t* chars;
};
static_assert(std::is_trivially_copyable_v<CStringW> && sizeof(CStringW) == sizeof(void*),
              "CStringW crosses module boundaries as a single pointer");

// This module's manager, over the process heap.
IStringManager& HeapStringManager() noexcept;

// A new string with one reference; a null string when memory runs out.
CStringW CStringCreate(std::wstring_view text,
                       IStringManager& manager = HeapStringManager()) noexcept;
CStringData* CStringHeader(CStringW s) noexcept;
std::wstring_view CStringView(CStringW s) noexcept;
// Adds a reference and returns the same string: the copy a by-value argument needs.
CStringW CStringAddRef(CStringW s) noexcept;
// Drops one reference (freeing the buffer through its manager on the last) and nulls the object.
void CStringRelease(CStringW& s) noexcept;

// Owns one reference for code on this side of a boundary.
class CStringHolder
{
public:
    CStringHolder() noexcept = default;
    explicit CStringHolder(std::wstring_view text) noexcept : m_string(CStringCreate(text)) {}
    static CStringHolder Adopt(CStringW s) noexcept
    {
        CStringHolder holder;
        holder.m_string = s;
        return holder;
    }
    CStringHolder(const CStringHolder& other) noexcept : m_string(CStringAddRef(other.m_string)) {}
    CStringHolder& operator=(const CStringHolder& other) noexcept
    {
        CStringW copy = CStringAddRef(other.m_string);
        CStringRelease(m_string);
        m_string = copy;
        return *this;
    }
    CStringHolder(CStringHolder&& other) noexcept : m_string(other.Detach()) {}
    CStringHolder& operator=(CStringHolder&& other) noexcept
    {
        if (this != &other) {
            CStringRelease(m_string);
            m_string = other.Detach();
        }
        return *this;
    }
    ~CStringHolder() { CStringRelease(m_string); }

    CStringW Get() const noexcept { return m_string; }
    // A new reference for passing by value: the receiver releases it.
    CStringW Share() const noexcept { return CStringAddRef(m_string); }
    CStringW Detach() noexcept
    {
        CStringW s = m_string;
        m_string.chars = nullptr;
        return s;
    }
    std::wstring_view View() const noexcept { return CStringView(m_string); }

private:
    CStringW m_string{nullptr};
};

}  // namespace core
