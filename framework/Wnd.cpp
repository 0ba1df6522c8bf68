#include "Wnd.h"
#include "Menu.h"

namespace {
const wchar_t kObjectProp[] = L"Framework.CWnd";
}

const MessageMap CWnd::messageMap = {nullptr, nullptr, 0};

CWnd::~CWnd() {
    DestroyControl();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return static_cast<CWnd*>(::GetPropW(hWnd, kObjectProp));
}

void CWnd::Bind(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetPropW(hWnd, kObjectProp, this);
}

void CWnd::Unbind() {
    ::RemovePropW(m_hWnd, kObjectProp);
    m_hWnd = nullptr;
}

bool CWnd::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    for (const MessageMap* pMap = GetMessageMap(); pMap; pMap = pMap->pBaseMap) {
        for (size_t i = 0; i < pMap->nCount; ++i) {
            const MessageMapEntry& e = pMap->pEntries[i];
            if (e.nMessage != nMsg || (nMsg == WM_COMMAND && e.nID != LOWORD(wParam)))
                continue;
            bool bOuterDefault = m_bDefault; // handlers may send messages to their own window
            m_bDefault = false;
            *pResult = e.pfn(this, wParam, lParam);
            bool bHandled = !m_bDefault;
            m_bDefault = bOuterDefault;
            return bHandled;
        }
    }
    return OnMenuItemMsg(nMsg, lParam, pResult);
}

bool CWnd::OnMenuItemMsg(UINT nMsg, LPARAM lParam, LRESULT* pResult) {
    bool bHandled = (nMsg == WM_DRAWITEM && RouteMenuDrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam))) ||
                    (nMsg == WM_MEASUREITEM &&
                     RouteMenuMeasureItem(m_hWnd, reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)));
    if (bHandled)
        *pResult = TRUE;
    return bHandled;
}
