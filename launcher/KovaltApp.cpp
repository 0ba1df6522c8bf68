#include "KovaltApp.h"
#include "KovaltDlg.h"

#include <commctrl.h>

CKovaltApp theApp;

HHOOK g_hMenuHook = nullptr;
WNDPROC g_pfnOldMenuProc = nullptr;

CKovaltApp::CKovaltApp() : CWinAppEx(TRUE) {}

BOOL CKovaltApp::InitInstance() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    CWinAppEx::InitInstance();
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &m_gdiplusStartupInput, nullptr);
    AfxEnableControlContainer();
    SetRegistryKey(L"翎川启动客户端");
    g_hMenuHook = SetWindowsHookExW(WH_CALLWNDPROC, MenuHookProc, m_hInstance, GetCurrentThreadId());
    {
        CKovaltDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    return FALSE;
}

int CKovaltApp::ExitInstance() {
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    UnhookWindowsHookEx(g_hMenuHook);
    return CWinApp::ExitInstance();
}

LRESULT CALLBACK MenuHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    const auto* pcwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pcwp->message == WM_CREATE) {
        wchar_t szClass[10];
        if (GetClassNameW(pcwp->hwnd, szClass, 10) == 6 && wcscmp(szClass, L"#32768") == 0) {
            auto pfnProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(pcwp->hwnd, GWLP_WNDPROC));
            // A window already subclassed keeps its saved procedure: never forward to ourselves.
            if (pfnProc != MenuFrameProc) {
                SetWindowLongPtrW(pcwp->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuFrameProc));
                g_pfnOldMenuProc = pfnProc;
            }
        }
    }
    return CallNextHookEx(g_hMenuHook, nCode, wParam, lParam);
}

LRESULT CALLBACK MenuFrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_CREATE: {
        LRESULT lResult = CallWindowProcW(g_pfnOldMenuProc, hWnd, uMsg, wParam, lParam);
        SetWindowLongW(hWnd, GWL_STYLE, GetWindowLongW(hWnd, GWL_STYLE) & ~WS_BORDER);
        SetWindowLongW(hWnd, GWL_EXSTYLE,
                       GetWindowLongW(hWnd, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE));
        return lResult;
    }
    case WM_WINDOWPOSCHANGING: {
        auto* pwp = reinterpret_cast<WINDOWPOS*>(lParam);
        pwp->cx -= 2 * GetSystemMetrics(SM_CXBORDER) + 4;
        pwp->cy -= 2 * GetSystemMetrics(SM_CYBORDER) + 4;
        CallWindowProcW(g_pfnOldMenuProc, hWnd, uMsg, wParam, lParam);
        return 0;
    }
    case WM_GETICON:
        return 0;
    case WM_PRINT:
        return CallWindowProcW(g_pfnOldMenuProc, hWnd, WM_PRINTCLIENT, wParam, lParam);
    default:
        return CallWindowProcW(g_pfnOldMenuProc, hWnd, uMsg, wParam, lParam);
    }
}
