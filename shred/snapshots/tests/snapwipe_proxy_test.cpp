#include "core/unique_handle.h"
#include "shred/snapshots/progress_window.h"
#include "shred/snapshots/snapwipe_identity.h"
#include "shred/snapshots/tests/snapwipe_dll_support.h"

#include <gtest/gtest.h>

#include <oleauto.h>

#include <string>
#include <thread>
#include <vector>

namespace shred::snapshots {
namespace {

using testing::DialogWindow;
using testing::KeyExists;
using testing::ReadClassesText;
using testing::Received;
using testing::RunRegsvr32;

using SnapwipeProxy = testing::RegisteredSnapwipe;

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST_F(SnapwipeProxy, InterfaceKeyNamesTheModulesProxyStubUntilUnregistered)
{
    const std::wstring interfaceKey = std::wstring(L"Interface\\") + kISnapwipeoIidText;
    const std::wstring proxyClassKey = std::wstring(L"CLSID\\") + kISnapwipeoIidText;
    struct Case
    {
        std::wstring key;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {interfaceKey, L"ISnapwipeo"},
        {interfaceKey + L"\\ProxyStubClsid32", kISnapwipeoIidText},
        {proxyClassKey + L"\\InprocServer32", m_dll},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(SameText(ReadClassesText(c.key), c.expected))
            << std::string(c.key.begin(), c.key.end());

    ASSERT_EQ(RunRegsvr32(L"/u \"" + m_dll + L"\""), 0u);
    EXPECT_FALSE(KeyExists(interfaceKey));
    EXPECT_FALSE(KeyExists(proxyClassKey));
    EXPECT_TRUE(KeyExists(L"Interface"));
}

struct RemoteCall
{
    bool throughProxy = false;
    HRESULT result = E_FAIL;
};

// Calls VNTRemovePV from a thread of the multi-threaded apartment on the object that lives in
// this thread's apartment, pumping this thread's messages until the call is back.
RemoteCall CallFromOtherApartment(ISnapwipeo* object, const std::wstring& letters, short dialog)
{
    IStream* stream = nullptr;
    if (FAILED(::CoMarshalInterThreadInterfaceInStream(kISnapwipeoIid, object, &stream)))
        return {};
    core::UniqueEvent done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    RemoteCall call;
    std::thread worker([&] {
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ISnapwipeo* proxy = nullptr;
        if (SUCCEEDED(::CoGetInterfaceAndReleaseStream(stream, kISnapwipeoIid,
                                                       reinterpret_cast<void**>(&proxy)))) {
            call.throughProxy = proxy != object;
            BSTR text = ::SysAllocStringLen(letters.data(), static_cast<UINT>(letters.size()));
            short handle = dialog;
            call.result = proxy->VNTRemovePV(text, 7, &handle);
            ::SysFreeString(text);
            proxy->Release();
        }
        ::CoUninitialize();
        ::SetEvent(done.Get());
    });
    const HANDLE waitFor = done.Get();
    while (::MsgWaitForMultipleObjects(1, &waitFor, FALSE, 30000, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    worker.join();
    return call;
}

// The letters travel as a counted BSTR (an embedded zero is a letter like any other), the dialog's
// handle reaches the object and the remover's own result comes back unchanged.
TEST_F(SnapwipeProxy, CallFromAnotherApartmentTravelsThroughTheProxy)
{
    ISnapwipeo* raw = nullptr;
    ASSERT_EQ(::CoCreateInstance(kSnapwipeoClsid, nullptr, CLSCTX_INPROC_SERVER, kISnapwipeoIid,
                                 reinterpret_cast<void**>(&raw)),
              S_OK);
    std::unique_ptr<ISnapwipeo, void (*)(ISnapwipeo*)> object(raw,
                                                              [](ISnapwipeo* p) { p->Release(); });
    DialogWindow window;
    ASSERT_TRUE(window.Get());

    struct Case
    {
        std::wstring letters;
        bool cancel;
        HRESULT expected;
        std::vector<Received> received;
    };
    const Received query{kMsgQueryCancel, 0, kCancelQueryParam};
    const std::vector<Case> cases = {
        {std::wstring(L"Q\0R", 3), false, 1, {query, query, query}},
        {L"QRST", false, 1, {query, query, query, query}},
        {L"Q", true, -10, {query, {kMsgQueryCancel, 0, kCancelledParam}, {kMsgPercent, 1, 0}}},
    };
    for (const Case& c : cases) {
        DialogWindow::received.clear();
        DialogWindow::cancel = c.cancel;
        const RemoteCall call = CallFromOtherApartment(object.get(), c.letters, window.Handle16());
        EXPECT_TRUE(call.throughProxy) << c.letters.size();
        EXPECT_EQ(call.result, c.expected) << c.letters.size();
        EXPECT_EQ(DialogWindow::received, c.received) << c.letters.size();
    }
}

}  // namespace
}  // namespace shred::snapshots
