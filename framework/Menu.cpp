#include "Menu.h"
#include "App.h"
#include "Wnd.h"

#include <map>

namespace {
// Menus are used on the UI thread only; the maps need no lock.
std::map<HMENU, CMenu*>& PermanentMap() {
    static std::map<HMENU, CMenu*> map;
    return map;
}

std::map<HWND, HMENU>& TrackedMenus() {
    static std::map<HWND, HMENU> map;
    return map;
}

HMENU FindPopupHolding(HMENU hMenu, UINT nID) {
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        if (::GetMenuItemID(hMenu, i) == nID)
            return hMenu;
        if (HMENU hSub = ::GetSubMenu(hMenu, i))
            if (HMENU hFound = FindPopupHolding(hSub, nID))
                return hFound;
    }
    return nullptr;
}
} // namespace

const CRuntimeClass CMenu::classCMenu = {"CMenu", nullptr};

CMenu* CMenu::FromHandlePermanent(HMENU hMenu) {
    auto it = PermanentMap().find(hMenu);
    return it == PermanentMap().end() ? nullptr : it->second;
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (!hMenu)
        return FALSE;
    m_hMenu = hMenu;
    PermanentMap()[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    if (hMenu)
        PermanentMap().erase(hMenu);
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource)));
}

CString CMenu::GetMenuString(UINT nIDItem, UINT nFlags) const {
    CString s;
    int nLength = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength > 0) {
        ::GetMenuStringW(m_hMenu, nIDItem, s.GetBuffer(nLength), nLength + 1, nFlags);
        s.ReleaseBuffer(nLength);
    }
    return s;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    HWND hWnd = pWnd->GetSafeHwnd();
    HMENU hOuter = GetTrackedMenu(hWnd);
    TrackedMenus()[hWnd] = m_hMenu;
    BOOL bResult = ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWnd, lpRect);
    if (hOuter)
        TrackedMenus()[hWnd] = hOuter;
    else
        TrackedMenus().erase(hWnd);
    return bResult;
}

HMENU CMenu::GetTrackedMenu(HWND hWnd) {
    auto it = TrackedMenus().find(hWnd);
    return it == TrackedMenus().end() ? nullptr : it->second;
}

bool RouteMenuDrawItem(LPDRAWITEMSTRUCT pDis) {
    if (pDis->CtlType != ODT_MENU)
        return false;
    CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(pDis->hwndItem));
    if (!pMenu)
        return false;
    pMenu->DrawItem(pDis);
    return true;
}

bool RouteMenuMeasureItem(HWND hWnd, LPMEASUREITEMSTRUCT pMis) {
    if (pMis->CtlType != ODT_MENU)
        return false;
    HMENU hTracked = CMenu::GetTrackedMenu(hWnd);
    HMENU hPopup = hTracked ? FindPopupHolding(hTracked, pMis->itemID) : nullptr;
    CMenu* pMenu = hPopup ? CMenu::FromHandlePermanent(hPopup) : nullptr;
    if (!pMenu)
        return false;
    pMenu->MeasureItem(pMis);
    return true;
}
