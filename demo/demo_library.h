// The demo's view of a suite library: loaded from beside the demo and bound by export name, as the
// suite's programs do.
#pragma once

#include <windows.h>

#include <cstdio>

#include "core/unique_handle.h"

namespace demo {

class DemoLibrary
{
public:
    explicit DemoLibrary(const wchar_t* fileName) : m_module(::LoadLibraryW(fileName))
    {
        if (!m_module)
            std::printf("could not load %ls (error %lu)\n", fileName, ::GetLastError());
    }
    bool Loaded() const { return m_module.IsValid(); }

    template <typename F>
    F Bind(const char* exportName) const
    {
        return reinterpret_cast<F>(::GetProcAddress(m_module.Get(), exportName));
    }

private:
    core::UniqueModule m_module;
};

// Each section prints what it did and returns false when something did not work.
bool RunCipherDemo();
bool RunLanguageDemo();
bool RunProcessDemo();
bool RunShredDemo();
bool RunUpdateDemo();

}  // namespace demo
