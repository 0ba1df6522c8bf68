// The title-strip buttons (normal 0, hover 1, pressed 2), the click targets and the window drag.
#include "KovaltDlg.h"
#include "OpenPage.h"
#include "config.h"

namespace {
// Which title-strip button the pointer last moved onto.
enum HotButton { kHotNone = 0, kHotMenu = 1, kHotMin = 2, kHotClose = 3 };

const WPARAM kMoveByCaption = 0xF012; // SC_MOVE | HTCAPTION: the system drags the window
} // namespace

void CKovaltDlg::RefreshButtons() {
    if (m_nHotButton != kHotMenu)
        m_nMenuButtonState = 0;
    if (m_nHotButton != kHotMin)
        m_nMinButtonState = 0;
    if (m_nHotButton != kHotClose)
        m_nCloseButtonState = 0;
    InvalidateRect(m_rcMenuButton, FALSE);
    InvalidateRect(m_rcMinButton, FALSE);
    InvalidateRect(m_rcCloseButton, FALSE);
}

// The first of menu, minimise, close that holds the point wins where their rectangles overlap.
void CKovaltDlg::OnMouseMove(UINT, CPoint point) {
    struct {
        const CRect& rc;
        int& nState;
        int nHot;
    } buttons[] = {{m_rcMenuButton, m_nMenuButtonState, kHotMenu},
                   {m_rcMinButton, m_nMinButtonState, kHotMin},
                   {m_rcCloseButton, m_nCloseButtonState, kHotClose}};
    for (auto& b : buttons) {
        if (!b.rc.PtInRect(point))
            continue;
        if (b.nState == 0) {
            b.nState = 1;
            m_nHotButton = b.nHot;
            RefreshButtons();
        }
        return;
    }
    if (m_rcStartButton.PtInRect(point) || m_rcLeftAd.PtInRect(point) || m_rcRightAd.PtInRect(point) ||
        m_rcLogo.PtInRect(point)) {
        m_nHotButton = kHotNone;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return;
    }
    m_nHotButton = kHotNone;
    RefreshButtons();
}

void CKovaltDlg::OnLButtonDown(UINT, CPoint point) {
    struct {
        const CRect& rc;
        int& nState;
    } buttons[] = {{m_rcMenuButton, m_nMenuButtonState},
                   {m_rcMinButton, m_nMinButtonState},
                   {m_rcCloseButton, m_nCloseButtonState}};
    for (auto& b : buttons) {
        if (!b.rc.PtInRect(point))
            continue;
        if (b.nState == 1) {
            b.nState = 2;
            InvalidateRect(b.rc, FALSE);
        }
        return;
    }
    if (m_rcLeftAd.PtInRect(point))
        OpenPage(KOVALT_CONTENT_SERVER L"/kovalt/ad.html");
    else if (m_rcRightAd.PtInRect(point))
        OpenPage(KOVALT_CONTENT_SERVER L"/kovalt/ad2.html");
    else if (m_rcLogo.PtInRect(point))
        OpenPage(KOVALT_SITE_URL L"/");
    else if (m_rcTitleBar.PtInRect(point))
        SendMessage(WM_SYSCOMMAND, kMoveByCaption, 0);
}

void CKovaltDlg::OnLButtonUp(UINT, CPoint point) {
    if (m_rcMenuButton.PtInRect(point)) {
        if (m_nMenuButtonState == 2) {
            m_nMenuButtonState = 1;
            InvalidateRect(m_rcMenuButton, FALSE);
            ShowMainMenu();
        }
    } else if (m_rcMinButton.PtInRect(point)) {
        if (m_nMinButtonState == 2) {
            m_nMinButtonState = 0;
            InvalidateRect(m_rcMinButton, FALSE);
            SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        }
    } else if (m_rcCloseButton.PtInRect(point)) {
        if (m_nCloseButtonState == 2) {
            m_nCloseButtonState = 0;
            InvalidateRect(m_rcCloseButton, FALSE);
            CloseLauncher();
        }
    } else if (m_rcStartButton.PtInRect(point)) {
        StartGame();
    } else {
        RefreshButtons();
    }
}
