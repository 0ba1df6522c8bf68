#include "Control.h"
#include "ControlSupport.h"
#include "Wnd.h"

#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

constexpr UINT kCtrlID = 7;
constexpr DISPID kDispidTitleChange = 113;
constexpr DISPID kDispidDownloadBegin = 106;
VARIANT* const kMissing = nullptr;

// A parent window whose event sink map records what its handlers received.
class CSinkHost : public CWnd {
  public:
    CSinkHost() {
        m_hWnd = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
    }
    ~CSinkHost() override { DestroyWindow(m_hWnd); }

    void OnProgressChange(long nProgress, long nProgressMax) {
        ++nProgressCalls;
        progress = {nProgress, nProgressMax};
    }
    void OnBeforeNavigate2(IDispatch* pDisp, VARIANT* URL, VARIANT* Flags, VARIANT*, VARIANT* PostData,
                           VARIANT*, BOOL* Cancel) {
        pNavigateDisp = pDisp;
        strUrl = StringFromVariant(URL);
        flagsType = Flags->vt;
        postDataType = PostData->vt;
        bCancelSeen = *Cancel;
        *Cancel = bCancel;
    }
    void OnTitleChange(const wchar_t* pszText) { strTitle = pszText; }
    void OnDownloadBegin() { ++nDownloadBegins; }

    int nProgressCalls = 0;
    std::pair<long, long> progress = {-1, -1};
    IDispatch* pNavigateDisp = nullptr;
    CString strUrl;
    VARTYPE flagsType = VT_NULL;
    VARTYPE postDataType = VT_NULL;
    BOOL bCancelSeen = -1;
    BOOL bCancel = FALSE;
    CString strTitle;
    int nDownloadBegins = 0;

  protected:
    const EventSinkMap* GetEventSinkMap() const override { return &eventSinkMap; }
    static const EventSinkEntry eventSinkEntries[];
    static const EventSinkMap eventSinkMap;
};

const EventSinkEntry CSinkHost::eventSinkEntries[] = {
    OnEvent<kCtrlID, kDispidProgressChange, &CSinkHost::OnProgressChange>(),
    OnEvent<kCtrlID, kDispidBeforeNavigate2, &CSinkHost::OnBeforeNavigate2>(),
    OnEvent<kCtrlID, kDispidTitleChange, &CSinkHost::OnTitleChange>(),
};
const EventSinkMap CSinkHost::eventSinkMap = {nullptr, eventSinkEntries, std::size(eventSinkEntries)};

// Its own map comes first; the base's entries still apply.
class CDerivedHost : public CSinkHost {
  public:
    void OnDerivedProgressChange(long, long) { ++nDerivedCalls; }
    int nDerivedCalls = 0;

  protected:
    const EventSinkMap* GetEventSinkMap() const override { return &eventSinkMap; }
    static const EventSinkEntry eventSinkEntries[];
    static const EventSinkMap eventSinkMap;
};

const EventSinkEntry CDerivedHost::eventSinkEntries[] = {
    OnEvent<kCtrlID, kDispidProgressChange, &CDerivedHost::OnDerivedProgressChange>(),
    OnEvent<kCtrlID, kDispidDownloadBegin, &CDerivedHost::OnDownloadBegin>(),
};
const EventSinkMap CDerivedHost::eventSinkMap = {&CSinkHost::eventSinkMap, eventSinkEntries,
                                                 std::size(eventSinkEntries)};

VARIANT I4(long n) {
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}

BOOL CALLBACK CountChild(HWND, LPARAM lParam) {
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

int CountChildren(HWND hWnd) {
    int n = 0;
    EnumChildWindows(hWnd, CountChild, reinterpret_cast<LPARAM>(&n));
    return n;
}

} // namespace

TEST(EventSinkMap, ConvertsIntegersInTheirShapesGivenLastFirst) {
    long nByRef = 42;
    VARIANT shortValue;
    shortValue.vt = VT_I2;
    shortValue.iVal = -3;
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"not a number");
    struct {
        const char* name;
        VARIANT progress;
        long expected;
    } cases[] = {
        {"by value", I4(5), 5},
        {"by reference", {}, 42},
        {"variant reference to a short", {}, -3},
        {"text", text, 0},
    };
    cases[1].progress.vt = VT_BYREF | VT_I4;
    cases[1].progress.plVal = &nByRef;
    cases[2].progress.vt = VT_BYREF | VT_VARIANT;
    cases[2].progress.pvarVal = &shortValue;
    for (auto& c : cases) {
        CSinkHost host;
        VARIANT args[2] = {I4(9), c.progress};
        DISPPARAMS params = {args, nullptr, 2, 0};
        EXPECT_TRUE(host.DispatchEvent(kCtrlID, kDispidProgressChange, &params)) << c.name;
        EXPECT_EQ(c.expected, host.progress.first) << c.name;
        EXPECT_EQ(9, host.progress.second) << c.name;
    }
    VariantClear(&text);
}

TEST(EventSinkMap, BeforeNavigate2ArrivesUnwrappedAndCancelGoesBack) {
    CSinkHost host;
    SAFEARRAY* pPost = SafeArrayCreateVector(VT_UI1, 0, 4);
    for (BOOL bCancel : {FALSE, TRUE}) {
        BeforeNavigate2Args ev(reinterpret_cast<IDispatch*>(&host),
                               L"http://127.0.0.1:8391/kovalt/index.html");
        ev.flags.lVal = 0x40;
        ev.postDataInner.vt = VT_ARRAY | VT_UI1;
        ev.postDataInner.parray = pPost;
        host.bCancel = bCancel;
        EXPECT_TRUE(host.DispatchEvent(kCtrlID, kDispidBeforeNavigate2, &ev.params));
        EXPECT_STREQ(L"http://127.0.0.1:8391/kovalt/index.html", host.strUrl);
        EXPECT_EQ(reinterpret_cast<IDispatch*>(&host), host.pNavigateDisp);
        EXPECT_EQ(VT_I4, host.flagsType);
        EXPECT_EQ(VT_ARRAY | VT_UI1, host.postDataType)
            << "doubly indirect post data is followed to its value";
        EXPECT_EQ(FALSE, host.bCancelSeen);
        EXPECT_EQ(bCancel ? VARIANT_TRUE : VARIANT_FALSE, ev.cancel);
        ev.postDataInner.vt = VT_EMPTY; // the array outlives both rounds
    }
    SafeArrayDestroy(pPost);
}

TEST(EventSinkMap, RoutesByControlIdAndDispidThroughBaseMaps) {
    CDerivedHost host;
    VARIANT title;
    title.vt = VT_BSTR;
    title.bstrVal = SysAllocString(L"News");
    DISPPARAMS titleParams = {&title, nullptr, 1, 0};
    VARIANT args[2] = {I4(0), I4(0)};
    DISPPARAMS progressParams = {args, nullptr, 2, 0};

    EXPECT_TRUE(host.DispatchEvent(kCtrlID, kDispidProgressChange, &progressParams));
    EXPECT_EQ(1, host.nDerivedCalls);
    EXPECT_EQ(0, host.nProgressCalls) << "the derived entry hides the base's";
    EXPECT_TRUE(host.DispatchEvent(kCtrlID, kDispidTitleChange, &titleParams));
    EXPECT_STREQ(L"News", host.strTitle);
    EXPECT_TRUE(host.DispatchEvent(kCtrlID, kDispidDownloadBegin, nullptr));
    EXPECT_EQ(1, host.nDownloadBegins);

    EXPECT_FALSE(host.DispatchEvent(kCtrlID + 1, kDispidProgressChange, &progressParams))
        << "another control";
    EXPECT_FALSE(host.DispatchEvent(kCtrlID, 999, &progressParams)) << "an unbound event";
    EXPECT_EQ(1, host.nDerivedCalls);
    VariantClear(&title);
}

TEST(EventSinkMap, MalformedArgumentsGiveNeutralValues) {
    CSinkHost host;
    // Too few arguments, none at all, a reference cycle, and Cancel not a boolean reference.
    VARIANT one = I4(3);
    DISPPARAMS tooFew = {&one, nullptr, 1, 0};
    EXPECT_TRUE(host.DispatchEvent(kCtrlID, kDispidProgressChange, &tooFew));
    EXPECT_EQ(std::make_pair(3L, 0L), host.progress);
    EXPECT_TRUE(host.DispatchEvent(kCtrlID, kDispidProgressChange, nullptr));
    EXPECT_EQ(std::make_pair(0L, 0L), host.progress);

    BeforeNavigate2Args ev(nullptr, L"http://x/");
    VARIANT cycle;
    cycle.vt = VT_BYREF | VT_VARIANT;
    cycle.pvarVal = &cycle;
    ev.args[5].pvarVal = &cycle; // URL
    ev.args[0] = I4(1);          // Cancel
    host.bCancel = TRUE;
    EXPECT_TRUE(host.DispatchEvent(kCtrlID, kDispidBeforeNavigate2, &ev.params));
    EXPECT_STREQ(L"", host.strUrl);
    EXPECT_EQ(nullptr, host.pNavigateDisp);
    EXPECT_EQ(FALSE, host.bCancelSeen);
    EXPECT_EQ(VT_I4, ev.args[0].vt);
    EXPECT_EQ(1, ev.args[0].lVal) << "nothing is written into an argument of another type";
}

class ControlContainer : public testing::Test {
  protected:
    static void SetUpTestSuite() { OleInitialize(nullptr); }
};

TEST_F(ControlContainer, HostsTheWebBrowserAsAChildWithItsIdRectangleAndStyle) {
    CSinkHost host;
    CWnd shown, hidden;
    ASSERT_TRUE(
        shown.CreateControl(kClsidWebBrowser, nullptr, WS_CHILD | WS_VISIBLE, {10, 20, 110, 220}, &host, 7));
    ASSERT_TRUE(hidden.CreateControl(kClsidWebBrowser, L"pane", WS_CHILD, {200, 0, 300, 50}, &host, 8));
    ASSERT_NE(nullptr, shown.GetControlSite());

    struct {
        CWnd& wnd;
        int id;
        RECT rect;
        bool visible;
    } cases[] = {{shown, 7, {10, 20, 110, 220}, true}, {hidden, 8, {200, 0, 300, 50}, false}};
    for (auto& c : cases) {
        EXPECT_EQ(host.m_hWnd, GetParent(c.wnd.m_hWnd)) << c.id;
        EXPECT_EQ(c.wnd.m_hWnd, GetDlgItem(host.m_hWnd, c.id));
        EXPECT_EQ(c.id, c.wnd.GetDlgCtrlID());
        EXPECT_NE(0, GetWindowLongW(c.wnd.m_hWnd, GWL_STYLE) & WS_CHILD);
        RECT rc;
        GetWindowRect(c.wnd.m_hWnd, &rc);
        MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_TRUE(EqualRect(&rc, &c.rect))
            << c.id << ": " << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        EXPECT_EQ(c.visible, c.wnd.IsWindowVisible() != FALSE) << c.id;
    }
    wchar_t szName[16] = {};
    GetWindowTextW(hidden.m_hWnd, szName, 16);
    EXPECT_STREQ(L"pane", szName);
    hidden.ShowWindow(SW_SHOWNORMAL);
    EXPECT_TRUE(hidden.IsWindowVisible());
}

TEST_F(ControlContainer, NavigateReachesTheControlAndItsEventsTheParentsMap) {
    CSinkHost host;
    CWnd pane;
    ASSERT_TRUE(pane.CreateControl(kClsidWebBrowser, nullptr, WS_CHILD | WS_VISIBLE, {0, 0, 200, 100}, &host,
                                   kCtrlID));
    host.bCancel = TRUE; // no request leaves the test
    // Navigate(URL, Flags, TargetFrameName, PostData, Headers) with the optional four left out.
    EXPECT_EQ(S_OK, pane.GetControlSite()->InvokeMethod(0x68, L"http://127.0.0.1:9/kovalt/news.html",
                                                        kMissing, kMissing, kMissing, kMissing));
    EXPECT_STREQ(L"http://127.0.0.1:9/kovalt/news.html", host.strUrl)
        << "BeforeNavigate2 came through the sink";
    EXPECT_NE(nullptr, host.pNavigateDisp);
    EXPECT_EQ(VT_I4, host.flagsType);

    ComPtr<IDispatch> sink;
    ASSERT_EQ(1, AdvisedSinks(pane.GetControlSite()->GetControl(), &sink));
    EXPECT_EQ(S_OK, FireProgressChange(sink.Get(), 30, 100));
    EXPECT_EQ(std::make_pair(30L, 100L), host.progress);
}

TEST_F(ControlContainer, DestructionUnadvisesTheSink) {
    CSinkHost host;
    ComPtr<IUnknown> control;
    ComPtr<IDispatch> sink;
    {
        CWnd pane;
        ASSERT_TRUE(pane.CreateControl(kClsidWebBrowser, nullptr, WS_CHILD, {0, 0, 50, 50}, &host, kCtrlID));
        control = pane.GetControlSite()->GetControl();
        ASSERT_EQ(1, AdvisedSinks(control.Get(), &sink));
    }
    EXPECT_EQ(0, AdvisedSinks(control.Get()));
    // A control that still holds the sink reaches nobody with it.
    EXPECT_EQ(S_OK, FireProgressChange(sink.Get(), 1, 1));
    EXPECT_EQ(0, host.nProgressCalls);
}

TEST_F(ControlContainer, WithoutTheControlThereIsNoWindowAndCallsDoNothing) {
    const CLSID kNoSuchControl = {
        0x0BADC0DE, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};
    CSinkHost host;
    CWnd pane, orphan;
    EXPECT_FALSE(
        pane.CreateControl(kNoSuchControl, nullptr, WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, &host, 7));
    EXPECT_EQ(nullptr, pane.m_hWnd);
    EXPECT_EQ(nullptr, pane.GetControlSite());
    EXPECT_FALSE(pane.ShowWindow(SW_SHOWNORMAL));
    EXPECT_FALSE(pane.IsWindowVisible());
    EXPECT_EQ(0, CountChildren(host.m_hWnd));
    EXPECT_FALSE(orphan.CreateControl(kClsidWebBrowser, nullptr, WS_CHILD, {0, 0, 50, 50}, nullptr, 7))
        << "a control needs a parent window";
}
