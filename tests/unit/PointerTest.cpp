#include "DialogRunner.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Event {
    UINT msg;
    int x, y;
};
Event Move(int x, int y) {
    return {WM_MOUSEMOVE, x, y};
}
Event Down(int x, int y) {
    return {WM_LBUTTONDOWN, x, y};
}
Event Up(int x, int y) {
    return {WM_LBUTTONUP, x, y};
}

// Points of the layout: buttons, their overlaps, areas with and without a target.
const POINT kMenu = {660, 10}, kMin = {710, 10}, kClose = {760, 10}, kPlain = {300, 600}, kLogo = {200, 20},
            kStart = {490, 580}, kTitle = {400, 20};

struct Case {
    const char* name;
    std::vector<Event> events;
    int menu, min, close, hot;
};

std::vector<Case> Cases() {
    return {
        {"hover menu", {Move(kMenu.x, kMenu.y)}, 1, 0, 0, 1},
        {"hover moves on", {Move(kMenu.x, kMenu.y), Move(kMin.x, kMin.y)}, 0, 1, 0, 2},
        {"x 696 is the menu button", {Move(696, 10)}, 1, 0, 0, 1},
        {"x 737 is minimise", {Move(737, 10)}, 0, 1, 0, 2},
        {"x 738 is minimise", {Move(738, 26)}, 0, 1, 0, 2},
        {"hover close", {Move(kClose.x, kClose.y)}, 0, 0, 1, 3},
        {"press shows pressed", {Move(kMenu.x, kMenu.y), Down(kMenu.x, kMenu.y)}, 2, 0, 0, 1},
        {"press before any move is ignored", {Down(kMin.x, kMin.y)}, 0, 0, 0, 0},
        {"moving off while pressed resets",
         {Move(kClose.x, kClose.y), Down(kClose.x, kClose.y), Move(kPlain.x, kPlain.y)},
         0,
         0,
         0,
         0},
        {"back on it shows hover and the release does nothing",
         {Move(kClose.x, kClose.y), Down(kClose.x, kClose.y), Move(kPlain.x, kPlain.y),
          Move(kClose.x, kClose.y), Up(kClose.x, kClose.y)},
         0,
         0,
         1,
         3},
        {"logo keeps the hover look", {Move(kMenu.x, kMenu.y), Move(kLogo.x, kLogo.y)}, 1, 0, 0, 0},
        {"start button keeps the hover look", {Move(kMin.x, kMin.y), Move(kStart.x, kStart.y)}, 0, 1, 0, 0},
        {"plain area resets", {Move(kMin.x, kMin.y), Move(kPlain.x, kPlain.y)}, 0, 0, 0, 0},
        {"release elsewhere keeps the hot button's state",
         {Move(kMin.x, kMin.y), Down(kMin.x, kMin.y), Up(kPlain.x, kPlain.y)},
         0,
         2,
         0,
         2},
        {"release before any move", {Up(kPlain.x, kPlain.y)}, 0, 0, 0, 0},
    };
}

void Send(CKovaltDlg& dlg, const Event& e) {
    dlg.SendMessage(e.msg, e.msg == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(e.x, e.y));
}

} // namespace

TEST(Pointer, ButtonStatesFollowTheStateTable) {
    RunDialog([](CKovaltDlg& dlg) {
        for (const Case& c : Cases()) {
            dlg.m_nMenuButtonState = dlg.m_nMinButtonState = dlg.m_nCloseButtonState = dlg.m_nHotButton = 0;
            for (const Event& e : c.events)
                Send(dlg, e);
            EXPECT_EQ(c.menu, dlg.m_nMenuButtonState) << c.name;
            EXPECT_EQ(c.min, dlg.m_nMinButtonState) << c.name;
            EXPECT_EQ(c.close, dlg.m_nCloseButtonState) << c.name;
            EXPECT_EQ(c.hot, dlg.m_nHotButton) << c.name;
        }
        dlg.PostMessage(WM_CLOSE);
    });
}

TEST(Pointer, MinimiseButtonIconisesTheWindow) {
    bool bIconic = false;
    RunDialog([&](CKovaltDlg& dlg) {
        for (const Event& e : {Move(kMin.x, kMin.y), Down(kMin.x, kMin.y), Up(kMin.x, kMin.y)})
            Send(dlg, e);
        bIconic = IsIconic(dlg.m_hWnd) != FALSE;
        EXPECT_EQ(0, dlg.m_nMinButtonState);
        dlg.PostMessage(WM_CLOSE);
    });
    EXPECT_TRUE(bIconic);
}

TEST(Pointer, CloseButtonRunsTheClosingSequence) {
    INT_PTR nResult = RunDialog([](CKovaltDlg& dlg) {
        for (const Event& e : {Move(kClose.x, kClose.y), Down(kClose.x, kClose.y), Up(kClose.x, kClose.y)})
            Send(dlg, e);
    });
    EXPECT_EQ(IDOK, nResult);
}

namespace {
struct MenuSeen {
    bool shown = false;
    RECT rcMenu = {};
    RECT rcWindow = {};
};
MenuSeen g_menuSeen;

void CALLBACK InspectMenu(HWND, UINT, UINT_PTR idTimer, DWORD) {
    HWND hMenuWnd = FindWindowW(L"#32768", nullptr);
    if (!hMenuWnd || !IsWindowVisible(hMenuWnd))
        return;
    KillTimer(nullptr, idTimer);
    g_menuSeen.shown = true;
    GetWindowRect(hMenuWnd, &g_menuSeen.rcMenu);
    EndMenu();
}
} // namespace

TEST(Pointer, MenuButtonOpensTheMenuAtItsAnchorAndStaysHovered) {
    g_menuSeen = {};
    RunDialog([](CKovaltDlg& dlg) {
        // Move the window first: the anchor follows it.
        dlg.SetWindowPos(nullptr, 15, 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        GetWindowRect(dlg.m_hWnd, &g_menuSeen.rcWindow);
        UINT_PTR idTimer = SetTimer(nullptr, 0, 20, InspectMenu);
        for (const Event& e : {Move(kMenu.x, kMenu.y), Down(kMenu.x, kMenu.y), Up(kMenu.x, kMenu.y)})
            Send(dlg, e);
        KillTimer(nullptr, idTimer);
        EXPECT_EQ(1, dlg.m_nMenuButtonState) << "after its menu the button shows hover";
        dlg.PostMessage(WM_CLOSE);
    });
    ASSERT_TRUE(g_menuSeen.shown);
    EXPECT_EQ(g_menuSeen.rcWindow.left + 654, g_menuSeen.rcMenu.left);
    EXPECT_EQ(g_menuSeen.rcWindow.top + 27, g_menuSeen.rcMenu.top);
}
