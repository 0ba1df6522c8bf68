#include "DialogRunner.h"
#include "SkinGeometry.h"

#include <gtest/gtest.h>

TEST(MainWindow, IsFramelessShapedCentredAndTitled) {
    RunDialog([](CKovaltDlg& dlg) {
        HWND hWnd = dlg.m_hWnd;
        LONG style = GetWindowLongW(hWnd, GWL_STYLE);
        EXPECT_EQ(0, style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
        EXPECT_NE(0, style & WS_POPUP);
        EXPECT_NE(0, GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);

        RECT rc;
        GetWindowRect(hWnd, &rc);
        EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 961) / 2, rc.left);
        EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 648) / 2, rc.top);
        EXPECT_EQ(961, rc.right - rc.left);
        EXPECT_EQ(648, rc.bottom - rc.top);

        wchar_t szTitle[64];
        GetWindowTextW(hWnd, szTitle, 64);
        EXPECT_STREQ(L"翎川网启动客户端", szTitle);
        EXPECT_NE(0, SendMessageW(hWnd, WM_GETICON, ICON_BIG, 0));
        EXPECT_NE(0, SendMessageW(hWnd, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.m_hIcon), SendMessageW(hWnd, WM_GETICON, ICON_BIG, 0));

        // The window region is the polygon: corners cut, panels kept.
        HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, GetWindowRgn(hWnd, hRgn));
        struct {
            POINT pt;
            bool inside;
        } points[] = {{{10, 10}, false}, {{955, 640}, false}, {{0, 19}, true},     {{160, 5}, false},
                      {{170, 0}, true},  {{480, 647}, true},  {{960, 628}, true},  {{961, 300}, false},
                      {{800, 5}, false}, {{0, 629}, false},   {{150, 640}, false}, {{480, 300}, true}};
        for (const auto& p : points)
            EXPECT_EQ(p.inside, PtInRegion(hRgn, p.pt.x, p.pt.y) != FALSE) << p.pt.x << "," << p.pt.y;
        DeleteObject(hRgn);
        dlg.PostMessage(WM_CLOSE);
    });
}

TEST(MainWindow, SetsTheSkinGeometry) {
    RunDialog([](CKovaltDlg& dlg) {
        EXPECT_EQ(961, dlg.m_nWidth);
        EXPECT_EQ(648, dlg.m_nHeight);
        const struct {
            const CRect& actual;
            RECT expected;
        } rects[] = {
            {dlg.m_rcTitleBar, {170, 0, 791, 40}},       {dlg.m_rcMainPane, {181, 43, 780, 533}},
            {dlg.m_rcLeftAd, {0, 19, 170, 629}},         {dlg.m_rcRightAd, {791, 19, 961, 629}},
            {dlg.m_rcStartButton, {398, 556, 585, 611}}, {dlg.m_rcGameName, {395, 591, 582, 610}},
            {dlg.m_rcMenuButton, {654, 0, 697, 27}},     {dlg.m_rcMinButton, {696, 0, 739, 27}},
            {dlg.m_rcCloseButton, {737, 0, 778, 27}},    {dlg.m_rcLogo, {174, 5, 274, 35}},
        };
        for (const auto& r : rects)
            EXPECT_TRUE(r.actual == r.expected) << r.expected.left << "," << r.expected.top;
        EXPECT_EQ(0, dlg.m_nMenuButtonState);
        EXPECT_EQ(0, dlg.m_nMinButtonState);
        EXPECT_EQ(0, dlg.m_nCloseButtonState);
        EXPECT_EQ(0, dlg.m_nHotButton);
        EXPECT_EQ(nullptr, dlg.m_rgnWindow.GetSafeHandle()) << "the region belongs to the window";
        dlg.PostMessage(WM_CLOSE);
    });
}

TEST(MainWindow, EnterEscapeAndOkCancelCommandsDoNotEndIt) {
    bool bStillOpen = false;
    INT_PTR nResult = RunDialog([&](CKovaltDlg& dlg) {
        dlg.PostMessage(WM_COMMAND, IDOK);
        dlg.PostMessage(WM_COMMAND, IDCANCEL);
        for (WPARAM vk : {VK_RETURN, VK_ESCAPE}) {
            dlg.PostMessage(WM_KEYDOWN, vk, 1);
            dlg.PostMessage(WM_KEYUP, vk, 0xC0000001);
        }
        After(100, [&](CKovaltDlg& d) {
            bStillOpen = IsWindow(d.m_hWnd) && d.IsWindowVisible();
            d.PostMessage(WM_CLOSE);
        });
    });
    EXPECT_TRUE(bStillOpen);
    EXPECT_EQ(IDOK, nResult) << "a close request ends the dialog with IDOK";
}
