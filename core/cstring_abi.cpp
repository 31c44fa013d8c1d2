#include "core/cstring_abi.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace core {
namespace {

class ProcessHeapStringManager final : public IStringManager
{
public:
    CStringData* Allocate(int allocLength) noexcept override
    {
        if (allocLength < 0 || static_cast<size_t>(allocLength) >
                                   (SIZE_MAX - sizeof(CStringData)) / sizeof(wchar_t) - 1)
            return nullptr;
        const size_t bytes =
            sizeof(CStringData) + (static_cast<size_t>(allocLength) + 1) * sizeof(wchar_t);
#ifdef _WIN32
        void* memory = ::HeapAlloc(::GetProcessHeap(), 0, bytes);
#else
        void* memory = std::malloc(bytes);
#endif
        if (!memory)
            return nullptr;
        auto* data = new (memory) CStringData{this, 0, allocLength, 1};
        data->Chars()[0] = L'\0';
        return data;
    }

    void Free(CStringData* data) noexcept override
    {
#ifdef _WIN32
        ::HeapFree(::GetProcessHeap(), 0, data);
#else
        std::free(data);
#endif
    }
};

}  // namespace

IStringManager& HeapStringManager() noexcept
{
    static ProcessHeapStringManager manager;
    return manager;
}

CStringW CStringCreate(std::wstring_view text, IStringManager& manager) noexcept
{
    if (text.size() > INT_MAX)
        return {nullptr};
    const int length = static_cast<int>(text.size());
    CStringData* data = manager.Allocate(length);
    if (!data)
        return {nullptr};
    if (length > 0)
        std::memcpy(data->Chars(), text.data(), text.size() * sizeof(wchar_t));
    data->Chars()[length] = L'\0';
    data->dataLength = length;
    return {data->Chars()};
}

CStringData* CStringHeader(CStringW s) noexcept
{
    return s.chars ? reinterpret_cast<CStringData*>(s.chars) - 1 : nullptr;
}

std::wstring_view CStringView(CStringW s) noexcept
{
    const CStringData* data = CStringHeader(s);
    return data ? std::wstring_view(s.chars, static_cast<size_t>(data->dataLength))
                : std::wstring_view();
}

CStringW CStringAddRef(CStringW s) noexcept
{
    if (CStringData* data = CStringHeader(s))
        std::atomic_ref<long>(data->refs).fetch_add(1, std::memory_order_relaxed);
    return s;
}

void CStringRelease(CStringW& s) noexcept
{
    CStringData* data = CStringHeader(s);
    s.chars = nullptr;
    if (data && std::atomic_ref<long>(data->refs).fetch_sub(1, std::memory_order_acq_rel) == 1)
        data->manager->Free(data);
}

}  // namespace core
