// What the tests of the built Snapwipe.dll share: its path, regsvr32, registry look-ups and a
// message-only dialog window that records the remover's messages.
#pragma once

#include "core/unique_handle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>
#include "tests/support/process_runner_win32.h"

namespace shred::snapshots::testing {

std::wstring BesideTest(const wchar_t* name);
using testsupport::RunRegsvr32;
bool KeyExists(const std::wstring& key);
// The default (empty name) or named string value of a key under HKEY_CLASSES_ROOT; empty when
// missing.
std::wstring ReadClassesText(const std::wstring& key, const wchar_t* name = nullptr);

struct Received
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received&) const = default;
};

// A message-only window on the calling thread; it answers the cancel query with a cancel while
// cancel is set.
class DialogWindow
{
public:
    DialogWindow();
    HWND Get() const { return m_window.Get(); }
    // The window's handle as the dialog passes it: 16 bits.
    short Handle16() const { return static_cast<short>(reinterpret_cast<INT_PTR>(Get()) & 0xffff); }

    static std::vector<Received> received;
    static bool cancel;

private:
    core::UniqueWindow m_window;
};

// Snapwipe.dll registered by regsvr32 and the test thread in a single-threaded apartment for the
// length of a test; unregistered afterwards.
class RegisteredSnapwipe : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    std::wstring m_dll;
};

}  // namespace shred::snapshots::testing
