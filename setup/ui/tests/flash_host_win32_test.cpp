// The Flash frame's real hosting path under Xvfb: the player's class is served in this process by
// a small control of the test's own, created by the system's class lookup and attached to atl.dll's
// host window inside the frame; it records what the frame asks of it. Without it the frame shows
// its failure text, as on a machine with no player.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "setup/ui/flash/flash_frame.h"
#include "setup/ui/flash/flash_system_win32.h"
#include "setup/ui/tests/page_windows_fixture_win32.h"

namespace setup::ui::testing {
namespace {

constexpr DISPID kPercentLoaded = 1001;
constexpr DISPID kPlay = 1002;
constexpr DISPID kStop = 1003;

struct ControlRecord
{
    std::vector<std::string> calls;
    HWND window = nullptr;
    bool clicked = false;
    bool released = false;
};

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN && wParam == MK_LBUTTON)
        reinterpret_cast<ControlRecord*>(::GetWindowLongPtrA(window, GWLP_USERDATA))->clicked = true;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// Stands in for the player: a dispatch interface with its Movie and Loop properties and its
// three methods, an OLE object that makes its window when activated in place.
class StandInPlayer final : public IDispatch, public IOleObject, public IOleInPlaceObject
{
public:
    explicit StandInPlayer(ControlRecord& record) : m_record(record) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *object = static_cast<IDispatch*>(this);
        else if (iid == IID_IOleObject)
            *object = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow)
            *object = static_cast<IOleInPlaceObject*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0) {
            m_record.released = true;
            if (m_record.window)
                ::DestroyWindow(m_record.window);
            m_record.window = nullptr;
            delete this;
        }
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override
    {
        const std::wstring name = count ? names[0] : L"";
        ids[0] = name == L"PercentLoaded" ? kPercentLoaded
                 : name == L"Play"        ? kPlay
                 : name == L"Stop"        ? kStop
                                          : DISPID_UNKNOWN;
        return ids[0] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT*) override
    {
        const bool put = (flags & DISPATCH_PROPERTYPUT) && parameters->cArgs == 1;
        if (id == 102 && put && parameters->rgvarg[0].vt == VT_BSTR) {
            const std::wstring movie = parameters->rgvarg[0].bstrVal;
            m_record.calls.push_back("movie " + std::string(movie.begin(), movie.end()));
        } else if (id == 106 && put && parameters->rgvarg[0].vt == VT_BOOL) {
            m_record.calls.push_back(parameters->rgvarg[0].boolVal ? "loop on" : "loop off");
        } else if (id == kPercentLoaded && result) {
            ::VariantInit(result);
            result->vt = VT_I4;
            result->lVal = 100;
        } else if (id == kPlay) {
            m_record.calls.push_back("play");
        } else if (id == kStop) {
            m_record.calls.push_back("stop");
        } else {
            return DISP_E_MEMBERNOTFOUND;
        }
        return S_OK;
    }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override
    {
        *site = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent,
                                     LPCRECT rect) override
    {
        if (verb != OLEIVERB_INPLACEACTIVATE || m_record.window)
            return S_OK;
        RECT place = rect ? *rect : RECT{0, 0, 10, 10};
        m_record.window = ::CreateWindowExA(0, "STATIC", "player", WS_CHILD | WS_VISIBLE,
                                            place.left, place.top, place.right - place.left,
                                            place.bottom - place.top, parent, nullptr, nullptr,
                                            nullptr);
        ::SetWindowLongPtrA(m_record.window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(&m_record));
        ::SetWindowLongPtrA(m_record.window, GWLP_WNDPROC,
                            reinterpret_cast<LONG_PTR>(&PlayerWindowProc));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        *window = m_record.window;
        return m_record.window ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

private:
    ControlRecord& m_record;
    ULONG m_references = 1;
};

class StandInFactory final : public IClassFactory
{
public:
    explicit StandInFactory(ControlRecord& record) : m_record(record) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* player = new StandInPlayer(m_record);
        const HRESULT result = player->QueryInterface(iid, object);
        player->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ControlRecord& m_record;
};

class FlashHostTest : public PageWindowsTest
{
protected:
    FlashHostTest()
    {
        ::OleInitialize(nullptr);
        movie = (std::filesystem::temp_directory_path() / "flash-host-movie.swf").string();
        // A plain movie of 300 by 200 pixels.
        const unsigned char header[] = {'F', 'W', 'S', 10, 0, 0, 0, 0, 0x78, 0x00, 0x02, 0xEE,
                                        0x00, 0x00, 0x07, 0xD0, 0x00, 0, 0};
        std::ofstream(movie, std::ios::binary)
            .write(reinterpret_cast<const char*>(header), sizeof(header));
        app.flashSystem = &flash;
        ShowPageText("object Page: TForm\n  ClientWidth = 400\n  ClientHeight = 300\n"
                     "  object Movie: TFlashFrame\n    Left = 10\n    Top = 10\n"
                     "    Width = 200\n    Height = 100\n  end\nend\n");
    }
    ~FlashHostTest() override
    {
        CloseFlashMovie(Frame());
        std::filesystem::remove(movie);
        ::OleUninitialize();
    }
    TFlashFrame& Frame() { return Find<TFlashFrame>("Movie"); }
    FlashSource Source()
    {
        return FlashSource{flash, "C:\\no\\such\\support\\flash.ocx", "Unable to play Flash movie"};
    }
    // Serves the player's class in this process for the scope of the object.
    struct ServedPlayer
    {
        explicit ServedPlayer(ControlRecord& record) : factory(record)
        {
            CLSID player{};
            std::wstring text(kFlashPlayerClassId, kFlashPlayerClassId + 38);
            ::CLSIDFromString(text.data(), &player);
            registered = SUCCEEDED(::CoRegisterClassObject(player, &factory, CLSCTX_INPROC_SERVER,
                                                           REGCLS_MULTIPLEUSE, &cookie));
        }
        ~ServedPlayer()
        {
            if (registered)
                ::CoRevokeClassObject(cookie);
        }
        StandInFactory factory;
        DWORD cookie = 0;
        bool registered = false;
    };

    Win32FlashSystem flash;
    std::string movie;
};

TEST_F(FlashHostTest, ThePlayerIsHostedInTheFrameAndTakesTheMovie)
{
    ControlRecord record;
    ServedPlayer served(record);
    ASSERT_TRUE(served.registered);
    Frame().autoScale = false;
    Frame().loop = true;
    OpenFlashMovie(Frame(), Source(), movie);
    ASSERT_NE(Frame().Player(), nullptr);
    EXPECT_EQ(Frame().Caption(), "");
    PlayFlashMovie(Frame());
    EXPECT_EQ(record.calls,
              (std::vector<std::string>{"movie " + movie, "loop on", "play"}));
    // Wine's atl.dll does not activate the control in place, so no control window to check:
    // the host window sits in the frame at the movie's size.
    HWND host = ::GetWindow(WindowOf(Frame()), GW_CHILD);
    ASSERT_NE(host, nullptr);
    RECT placed{};
    ::GetWindowRect(host, &placed);
    EXPECT_EQ(placed.right - placed.left, 298);
    EXPECT_EQ(placed.bottom - placed.top, 198);

    CloseFlashMovie(Frame());
    EXPECT_EQ(record.calls.back(), "stop");
    EXPECT_FALSE(::IsWindow(host));
    EXPECT_TRUE(record.released);
}

TEST_F(FlashHostTest, WithNoPlayerOnTheMachineTheFrameSaysSo)
{
    OpenFlashMovie(Frame(), Source(), movie);
    EXPECT_EQ(Frame().Player(), nullptr);
    EXPECT_EQ(Frame().Caption(), "Unable to play Flash movie");
}

}  // namespace
}  // namespace setup::ui::testing
