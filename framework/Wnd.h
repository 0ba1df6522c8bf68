#pragma once
#include <windows.h>

#include "Gdi.h"
#include "Geometry.h"
#include "MessageMap.h"
#include "String.h"

class COleControlSite;
struct EventSinkMap;

// A window handle plus the class's message table. The object does not own the window's lifetime;
// whoever created the window destroys it.
class CWnd {
  public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL ShowWindow(int nCmdShow) { return m_hWnd && ::ShowWindow(m_hWnd, nCmdShow); }
    void SetWindowText(const wchar_t* psz) { ::SetWindowTextW(m_hWnd, psz); }
    void GetWindowRect(LPRECT pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    BOOL SetWindowPos(HWND hWndAfter, int x, int y, int cx, int cy, UINT nFlags) {
        return ::SetWindowPos(m_hWnd, hWndAfter, x, y, cx, cy, nFlags);
    }
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }
    void InvalidateRect(LPCRECT pRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, pRect, bErase); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon));
    }
    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(m_hWnd, nMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageW(m_hWnd, nMsg, wParam, lParam);
    }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

    // Hosts an ActiveX control in place as a child of pParentWnd (Control.cpp); this object then
    // wraps the control's window. FALSE, with no window, when the control cannot be made.
    BOOL CreateControl(REFCLSID clsid, LPCWSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID);
    COleControlSite* GetControlSite() const { return m_pCtrlSite; }
    // Runs an event of the hosted control nCtrlID through the event sink maps, most derived first.
    bool DispatchEvent(UINT nCtrlID, DISPID dispid, DISPPARAMS* pParams);
    BOOL IsWindowVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }

    // Runs the message through the class's tables, most derived first, in table order, then the
    // framework's own handling of owner-drawn menus. False when nothing handled it (or the handler
    // asked for the default processing).
    bool OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    HWND m_hWnd = nullptr;

  protected:
    // Called by a handler that wants the window's default processing to follow it.
    void Default() { m_bDefault = true; }

    void Bind(HWND hWnd);
    void Unbind();

    virtual const MessageMap* GetMessageMap() const { return &messageMap; }
    static const MessageMap messageMap;
    virtual const EventSinkMap* GetEventSinkMap() const { return nullptr; }

  private:
    void DestroyControl();
    bool OnMenuItemMsg(UINT nMsg, LPARAM lParam, LRESULT* pResult);

    bool m_bDefault = false;
    COleControlSite* m_pCtrlSite = nullptr;
};
