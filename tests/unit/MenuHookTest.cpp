#include "KovaltApp.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct Forwarded {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Forwarded> g_forwarded;
const LRESULT kRecorderResult = 42;

// Stands in for the system's menu procedure behind MenuFrameProc.
LRESULT CALLBACK RecorderProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_forwarded.push_back({msg, wParam, lParam});
    return kRecorderResult;
}

HWND CreatePlainWindow(const wchar_t* pszClass, DWORD dwStyle = WS_POPUP, DWORD dwExStyle = 0) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = pszClass;
    RegisterClassW(&wc);
    return CreateWindowExW(dwExStyle, pszClass, L"", dwStyle, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance,
                           nullptr);
}

bool g_bHooked = false;

class HookInstalled {
  public:
    HookInstalled() {
        g_pfnOldMenuProc = nullptr;
        g_bHooked = true;
        g_hMenuHook = SetWindowsHookExW(WH_CALLWNDPROC, MenuHookProc, nullptr, GetCurrentThreadId());
    }
    ~HookInstalled() {
        UnhookWindowsHookEx(g_hMenuHook);
        g_bHooked = false;
    }
};

// What a tracked popup menu's window looked like while it was open.
struct MenuWindowSeen {
    HWND hWnd = nullptr;
    WNDPROC pfnProc = nullptr;
    LONG style = 0, exStyle = 0;
    SIZE size = {};
};
MenuWindowSeen g_seen;

void CALLBACK InspectOpenMenu(HWND, UINT, UINT_PTR idTimer, DWORD) {
    HWND hMenuWnd = FindWindowW(L"#32768", nullptr);
    if (!hMenuWnd || !IsWindowVisible(hMenuWnd))
        return;
    KillTimer(nullptr, idTimer);
    RECT rc;
    GetWindowRect(hMenuWnd, &rc);
    g_seen = {hMenuWnd,
              reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hMenuWnd, GWLP_WNDPROC)),
              GetWindowLongW(hMenuWnd, GWL_STYLE),
              GetWindowLongW(hMenuWnd, GWL_EXSTYLE),
              {rc.right - rc.left, rc.bottom - rc.top}};
    if (g_bHooked) {
        // A second WM_CREATE seen for a window already running MenuFrameProc must change nothing.
        WNDPROC pfnSaved = g_pfnOldMenuProc;
        CWPSTRUCT cwp = {0, 0, WM_CREATE, hMenuWnd};
        MenuHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
        EXPECT_EQ(pfnSaved, g_pfnOldMenuProc);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(MenuFrameProc), GetWindowLongPtrW(hMenuWnd, GWLP_WNDPROC));
    }
    EndMenu();
}

MenuWindowSeen TrackTestMenu() {
    g_seen = {};
    HWND hOwner = CreatePlainWindow(L"MenuOwner", WS_POPUP | WS_VISIBLE);
    HMENU hMenu = CreatePopupMenu();
    AppendMenuW(hMenu, MF_STRING, 1, L"First item");
    AppendMenuW(hMenu, MF_STRING, 2, L"Second item");
    SetForegroundWindow(hOwner);
    UINT_PTR idTimer = SetTimer(nullptr, 0, 50, InspectOpenMenu);
    TrackPopupMenu(hMenu, TPM_RETURNCMD, 100, 100, 0, hOwner, nullptr);
    KillTimer(nullptr, idTimer);
    DestroyMenu(hMenu);
    DestroyWindow(hOwner);
    return g_seen;
}

} // namespace

TEST(MenuHook, StripsFrameOfRealPopupMenus) {
    MenuWindowSeen plain = TrackTestMenu();
    ASSERT_NE(nullptr, plain.hWnd) << "the popup menu window never showed";
    MenuWindowSeen hooked;
    {
        HookInstalled hook;
        hooked = TrackTestMenu();
    }
    ASSERT_NE(nullptr, hooked.hWnd);
    EXPECT_EQ(MenuFrameProc, hooked.pfnProc);
    EXPECT_NE(nullptr, g_pfnOldMenuProc);
    EXPECT_NE(MenuFrameProc, g_pfnOldMenuProc);
    EXPECT_EQ(0, hooked.style & WS_BORDER);
    EXPECT_EQ(0, hooked.exStyle & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    EXPECT_EQ(plain.size.cx - (2 * GetSystemMetrics(SM_CXBORDER) + 4), hooked.size.cx);
    EXPECT_EQ(plain.size.cy - (2 * GetSystemMetrics(SM_CYBORDER) + 4), hooked.size.cy);
}

TEST(MenuHook, LeavesOtherWindowClassesAlone) {
    HookInstalled hook;
    for (const wchar_t* pszClass : {L"#32769", L"Abcdef", L"#327680", L"LongerClassName"}) {
        HWND hWnd = CreatePlainWindow(pszClass);
        ASSERT_NE(nullptr, hWnd) << pszClass;
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(DefWindowProcW), GetWindowLongPtrW(hWnd, GWLP_WNDPROC))
            << pszClass;
        DestroyWindow(hWnd);
    }
    EXPECT_EQ(nullptr, g_pfnOldMenuProc);
}

TEST(MenuHook, NegativeCodeIsPassedOnUntouched) {
    HookInstalled hook;
    HWND hWnd = CreatePlainWindow(L"Target");
    CWPSTRUCT cwp = {0, 0, WM_CREATE, hWnd};
    MenuHookProc(-1, 0, reinterpret_cast<LPARAM>(&cwp));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(DefWindowProcW), GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
    DestroyWindow(hWnd);
}

TEST(MenuFrameProc, TranslatesOrSwallowsMessages) {
    HWND hWnd = CreatePlainWindow(L"FrameTarget");
    g_pfnOldMenuProc = RecorderProc;
    struct Case {
        UINT msg;
        LRESULT expectedResult;
        bool forwarded;
        UINT forwardedAs;
    } cases[] = {
        {WM_GETICON, 0, false, 0},
        {WM_PRINT, kRecorderResult, true, WM_PRINTCLIENT},
        {WM_USER + 9, kRecorderResult, true, WM_USER + 9},
        {WM_NCPAINT, kRecorderResult, true, WM_NCPAINT},
    };
    for (const Case& c : cases) {
        g_forwarded.clear();
        EXPECT_EQ(c.expectedResult, MenuFrameProc(hWnd, c.msg, 0x11, 0x22)) << c.msg;
        ASSERT_EQ(c.forwarded ? 1u : 0u, g_forwarded.size()) << c.msg;
        if (c.forwarded) {
            EXPECT_EQ(c.forwardedAs, g_forwarded[0].msg);
            EXPECT_EQ(0x11u, g_forwarded[0].wParam);
            EXPECT_EQ(0x22, g_forwarded[0].lParam);
        }
    }
    DestroyWindow(hWnd);
}

TEST(MenuFrameProc, ShrinksEveryPositionChangeByTheFrame) {
    HWND hWnd = CreatePlainWindow(L"FrameTarget2");
    g_pfnOldMenuProc = RecorderProc;
    g_forwarded.clear();
    WINDOWPOS wp = {hWnd, nullptr, 10, 20, 137, 150, SWP_NOMOVE};
    EXPECT_EQ(0, MenuFrameProc(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp)));
    EXPECT_EQ(137 - (2 * GetSystemMetrics(SM_CXBORDER) + 4), wp.cx);
    EXPECT_EQ(150 - (2 * GetSystemMetrics(SM_CYBORDER) + 4), wp.cy);
    ASSERT_EQ(1u, g_forwarded.size());
    EXPECT_EQ(reinterpret_cast<LPARAM>(&wp), g_forwarded[0].lParam);
    DestroyWindow(hWnd);
}

TEST(MenuFrameProc, CreateClearsBorderAndEdgeStylesAfterForwarding) {
    HWND hWnd = CreatePlainWindow(L"FrameTarget3", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
                                  WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW);
    g_pfnOldMenuProc = RecorderProc;
    g_forwarded.clear();
    CREATESTRUCTW cs = {};
    EXPECT_EQ(kRecorderResult, MenuFrameProc(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)));
    ASSERT_EQ(1u, g_forwarded.size());
    EXPECT_EQ(static_cast<UINT>(WM_CREATE), g_forwarded[0].msg);
    LONG style = GetWindowLongW(hWnd, GWL_STYLE);
    LONG exStyle = GetWindowLongW(hWnd, GWL_EXSTYLE);
    EXPECT_EQ(0, style & WS_BORDER);
    EXPECT_NE(0, style & WS_CLIPCHILDREN) << "other styles stay";
    EXPECT_EQ(0, exStyle & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
    EXPECT_NE(0, exStyle & WS_EX_TOOLWINDOW);
    DestroyWindow(hWnd);
}
