#pragma once
#include <windows.h>
#include <gdiplus.h>

#include "App.h"

class CKovaltApp : public CWinAppEx {
  public:
    CKovaltApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    ULONG_PTR m_gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput m_gdiplusStartupInput;
};

extern CKovaltApp theApp;

// Strips the system frame off every popup-menu window the UI thread creates.
extern HHOOK g_hMenuHook;
extern WNDPROC g_pfnOldMenuProc;
LRESULT CALLBACK MenuHookProc(int nCode, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MenuFrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
