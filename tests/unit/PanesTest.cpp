#include "ControlSupport.h"
#include "DialogRunner.h"
#include "config.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// The test build's probe host always resolves: the launcher starts online and navigates its panes.
namespace {

const std::wstring kServer = KOVALT_CONTENT_SERVER;
const std::wstring kNewsPage = kServer + L"/kovalt/index.html";

ComPtr<IDispatch> SinkOf(CWebBrowser& pane) {
    ComPtr<IDispatch> sink;
    if (pane.GetControlSite())
        AdvisedSinks(pane.GetControlSite()->GetControl(), &sink);
    return sink;
}

// What the control sends when it starts navigating: BeforeNavigate2 with its own dispatch pointer.
void Announce(CWebBrowser& pane, const std::wstring& strUrl) {
    ComPtr<IDispatch> control;
    pane.GetControlSite()->GetControl()->QueryInterface(IID_PPV_ARGS(&control));
    BeforeNavigate2Args ev(control.Get(), strUrl.c_str());
    ASSERT_EQ(S_OK, ev.FireAt(SinkOf(pane).Get()));
    EXPECT_EQ(VARIANT_FALSE, ev.cancel) << "the navigation goes ahead";
}

void Progress(CWebBrowser& pane, long nProgress, long nProgressMax) {
    ASSERT_EQ(S_OK, FireProgressChange(SinkOf(pane).Get(), nProgress, nProgressMax));
}

} // namespace

TEST(Panes, AreHostedChildrenAtTheirPlacesAndCaptureTheirFirstAddresses) {
    RunDialog([](CKovaltDlg& dlg) {
        EXPECT_TRUE(dlg.m_bOnline);
        struct {
            CWebBrowser& pane;
            int id;
            const CRect& rect;
            bool visible;
            const CString& url;
            const wchar_t* page;
        } panes[] = {
            {dlg.m_wndMainPane, 209, dlg.m_rcMainPane, true, dlg.m_strMainPaneUrl, L"/kovalt/index.html"},
            {dlg.m_wndLeftAd, 210, dlg.m_rcLeftAd, false, dlg.m_strLeftAdUrl, L"/kovalt/ad.html"},
            {dlg.m_wndRightAd, 211, dlg.m_rcRightAd, false, dlg.m_strRightAdUrl, L"/kovalt/ad2.html"},
        };
        for (auto& p : panes) {
            ASSERT_NE(nullptr, p.pane.m_hWnd) << p.id;
            EXPECT_EQ(p.pane.m_hWnd, GetDlgItem(dlg.m_hWnd, p.id));
            EXPECT_EQ(dlg.m_hWnd, GetParent(p.pane.m_hWnd));
            RECT rc;
            GetWindowRect(p.pane.m_hWnd, &rc);
            MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_TRUE(p.rect == rc)
                << p.id << ": " << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
            EXPECT_EQ(p.visible, p.pane.IsWindowVisible() != FALSE) << p.id;
            // The control announced the first navigation through the event sink map.
            EXPECT_STREQ((kServer + p.page).c_str(), p.url) << p.id;
            EXPECT_EQ(1, AdvisedSinks(p.pane.GetControlSite()->GetControl())) << p.id;
        }
        dlg.PostMessage(WM_CLOSE);
    });
}

TEST(Panes, MainPaneHidesAtCompletionOnlyWhenItsAddressLeftTheContentServer) {
    std::wstring strUpper = L"HTTP" + kNewsPage.substr(4);
    const struct {
        const char* name;
        std::wstring url;
        long progress, progressMax;
        bool visible;
    } cases[] = {
        {"prefix at the first character", kNewsPage, 0, 0, true},
        {"prefix at the second character", L"x" + kNewsPage, 0, 0, true},
        {"prefix at the third character", L"xy" + kNewsPage, 0, 0, false},
        {"prefix differing only in case", strUpper, 0, 0, false},
        {"another server", L"http://news.example.org/", 0, 0, false},
        {"address shorter than the prefix", kServer.substr(0, 15), 0, 0, false},
        {"empty address", L"", 0, 0, true},
        {"(100, 100) is not a completion", L"http://news.example.org/", 100, 100, true},
        {"(0, 100) is not a completion", L"http://news.example.org/", 0, 100, true},
    };
    for (const auto& c : cases) {
        RunDialog([&](CKovaltDlg& dlg) {
            Announce(dlg.m_wndMainPane, c.url);
            EXPECT_STREQ(c.url.c_str(), dlg.m_strMainPaneUrl) << c.name;
            Progress(dlg.m_wndMainPane, c.progress, c.progressMax);
            EXPECT_EQ(c.visible, dlg.m_wndMainPane.IsWindowVisible() != FALSE) << c.name;
            dlg.PostMessage(WM_CLOSE);
        });
    }
}

TEST(Panes, MainPaneOnceHiddenNeverShowsAgain) {
    RunDialog([](CKovaltDlg& dlg) {
        Announce(dlg.m_wndMainPane, L"http://elsewhere.example.org/a-link.html");
        Progress(dlg.m_wndMainPane, 0, 0);
        ASSERT_FALSE(dlg.m_wndMainPane.IsWindowVisible());
        Announce(dlg.m_wndMainPane, kNewsPage);
        Progress(dlg.m_wndMainPane, 0, 0);
        EXPECT_FALSE(dlg.m_wndMainPane.IsWindowVisible());
        dlg.PostMessage(WM_CLOSE);
    });
}

TEST(Panes, AdvertsShowAtCompletionWithAnAddressWhileOnline) {
    const struct {
        const char* name;
        BOOL online;
        bool announced;
        long progress, progressMax;
        bool shown;
    } cases[] = {
        {"online, page announced", TRUE, true, 0, 0, true},
        {"offline", FALSE, true, 0, 0, false},
        {"completion before any address", TRUE, false, 0, 0, false},
        {"(100, 100) is not a completion", TRUE, true, 100, 100, false},
    };
    for (const auto& c : cases) {
        RunDialog([&](CKovaltDlg& dlg) {
            dlg.m_bOnline = c.online;
            struct {
                CWebBrowser& pane;
                CString& url;
            } ads[] = {{dlg.m_wndLeftAd, dlg.m_strLeftAdUrl}, {dlg.m_wndRightAd, dlg.m_strRightAdUrl}};
            for (auto& ad : ads) {
                if (!c.announced)
                    ad.url.Empty(); // as before the control's first BeforeNavigate2
                Progress(ad.pane, c.progress, c.progressMax);
                EXPECT_EQ(c.shown, ad.pane.IsWindowVisible() != FALSE)
                    << c.name << " " << ad.pane.GetDlgCtrlID();
            }
            dlg.PostMessage(WM_CLOSE);
        });
    }
}

TEST(Panes, AnAdvertOnceShownStaysShownAndIsNeverComparedWithTheServer) {
    RunDialog([](CKovaltDlg& dlg) {
        Progress(dlg.m_wndLeftAd, 0, 0);
        ASSERT_TRUE(dlg.m_wndLeftAd.IsWindowVisible());
        EXPECT_FALSE(dlg.m_wndRightAd.IsWindowVisible()) << "each advert pane has its own events";
        Announce(dlg.m_wndLeftAd, L"http://adverts.example.org/elsewhere");
        Progress(dlg.m_wndLeftAd, 0, 0);
        Progress(dlg.m_wndLeftAd, 100, 100);
        dlg.m_bOnline = FALSE;
        Progress(dlg.m_wndLeftAd, 0, 0);
        EXPECT_TRUE(dlg.m_wndLeftAd.IsWindowVisible());
        EXPECT_STREQ(L"http://adverts.example.org/elsewhere", dlg.m_strLeftAdUrl);
        EXPECT_TRUE(dlg.m_wndMainPane.IsWindowVisible()) << "the advert's events do not touch the news pane";
        dlg.PostMessage(WM_CLOSE);
    });
}

TEST(Panes, APaneWithoutItsControlIgnoresEveryCall) {
    CWebBrowser pane;
    EXPECT_FALSE(pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 209));
    pane.Navigate(kNewsPage.c_str(), nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(pane.ShowWindow(SW_SHOWNORMAL));
    EXPECT_FALSE(pane.IsWindowVisible());
    EXPECT_EQ(nullptr, pane.m_hWnd);
}
