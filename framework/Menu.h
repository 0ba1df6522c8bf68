#pragma once
#include <windows.h>

#include "RuntimeClass.h"
#include "String.h"

class CWnd;

// Owns one menu handle. An attached handle is known to the permanent map, which is how owner-drawn
// measure and draw requests find the object serving a popup.
class CMenu {
  public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    virtual ~CMenu() { DestroyMenu(); }

    static const CRuntimeClass classCMenu;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCMenu; }

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* FromHandlePermanent(HMENU hMenu);

    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL DestroyMenu();
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT nIDResource);

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    HMENU GetSubMenu(int nPos) const { return ::GetSubMenu(m_hMenu, nPos); }
    CString GetMenuString(UINT nIDItem, UINT nFlags) const;

    // Tracks this popup for pWnd; while it runs, pWnd's measure requests are served from it.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    // The popup being tracked for a window, or null.
    static HMENU GetTrackedMenu(HWND hWnd);

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}

    HMENU m_hMenu = nullptr;
};

// Routes owner-drawn menu requests that a window did not handle itself: draw requests to the
// object attached to the popup in the request, measure requests to the object attached to the
// popup of the tracked menu that holds the item (searched depth first). False when none serves it.
bool RouteMenuDrawItem(LPDRAWITEMSTRUCT pDis);
bool RouteMenuMeasureItem(HWND hWnd, LPMEASUREITEMSTRUCT pMis);
