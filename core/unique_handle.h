// Owners for Win32 handles: one template, and a one-line alias per handle type naming its close
// function and its invalid value.
#pragma once

#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace core {

template <typename T, auto CloseFunction, std::intptr_t InvalidValue>
class UniqueHandle
{
public:
    static T Invalid() noexcept
    {
        if constexpr (std::is_pointer_v<T>)
            return reinterpret_cast<T>(InvalidValue);
        else
            return static_cast<T>(InvalidValue);
    }

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(T handle) noexcept : m_handle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    T Get() const noexcept { return m_handle; }
    bool IsValid() const noexcept { return m_handle != Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // For functions that return the handle through an out parameter.
    T* Put() noexcept
    {
        Reset();
        return &m_handle;
    }

    T Release() noexcept { return std::exchange(m_handle, Invalid()); }

    void Reset(T handle = Invalid()) noexcept
    {
        T old = std::exchange(m_handle, handle);
        if (old != Invalid())
            CloseFunction(old);
    }

private:
    T m_handle = Invalid();
};

using UniqueFile = UniqueHandle<HANDLE, &::CloseHandle, -1>;  // INVALID_HANDLE_VALUE
using UniqueKernelHandle = UniqueHandle<HANDLE, &::CloseHandle, 0>;
using UniqueEvent = UniqueKernelHandle;
using UniqueProcess = UniqueKernelHandle;
using UniqueThread = UniqueKernelHandle;
using UniqueFind = UniqueHandle<HANDLE, &::FindClose, -1>;
using UniqueKey = UniqueHandle<HKEY, &::RegCloseKey, 0>;
using UniqueModule = UniqueHandle<HMODULE, &::FreeLibrary, 0>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, &::DeleteObject, 0>;
using UniqueMemoryDc = UniqueHandle<HDC, &::DeleteDC, 0>;  // CreateCompatibleDC
using UniqueHeapMemory = UniqueHandle<HLOCAL, &::LocalFree, 0>;
using UniqueEventSource = UniqueHandle<HANDLE, &::DeregisterEventSource, 0>;
using UniqueWindow = UniqueHandle<HWND, &::DestroyWindow, 0>;
using UniqueServiceHandle = UniqueHandle<SC_HANDLE, &::CloseServiceHandle, 0>;

}  // namespace core
