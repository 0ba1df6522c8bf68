#include "MenuEx.h"
#include "PngResource.h"
#include "Settings.h"
#include "res/resource.h"

const CRuntimeClass CMenuEx::classCMenuEx = {"CMenuEx", &CMenu::classCMenu};

namespace {
// A non-owning view of a menu handle that belongs to someone else.
class CMenuView : public CMenu {
  public:
    explicit CMenuView(HMENU hMenu) { m_hMenu = hMenu; }
    ~CMenuView() override { m_hMenu = nullptr; }
};

const UINT kStateFlags = MF_CHECKED | MF_DISABLED | MF_GRAYED | MF_MENUBREAK | MF_MENUBARBREAK;
} // namespace

CMenuEx::CMenuEx()
    : m_crHighlightText(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_crMenuText(GetSysColor(COLOR_MENUTEXT)) {
    GetModuleDir(m_strModuleDir);
    LoadPngResource(IDR_PNG_MENU_NORMAL, &m_pImgNormal);
    LoadPngResource(IDR_PNG_MENU_SELECTED, &m_pImgSelected);
}

CMenuEx::~CMenuEx() {
    m_imageList.DeleteImageList();
    if (m_bOwnBitmap)
        m_bitmap.DeleteObject();
    for (int i = 0; i < m_arrSubMenus.GetSize(); ++i)
        delete m_arrSubMenus[i];
    for (int i = 0; i < m_arrItems.GetSize(); ++i)
        delete m_arrItems[i];
    DestroyMenu();
    delete m_pImgNormal;
    delete m_pImgSelected;
}

BOOL CMenuEx::BuildFromResource(UINT nIDResource) {
    Attach(::CreateMenu());
    CMenu loaded;
    loaded.LoadMenu(nIDResource);
    for (int i = 0; i < loaded.GetMenuItemCount(); ++i) {
        UINT nID = loaded.GetMenuItemID(i);
        if (nID == 0) {
            AppendMenuW(m_hMenu, MF_SEPARATOR, 0, nullptr);
        } else if (nID == static_cast<UINT>(-1)) {
            CMenuView source(loaded.GetSubMenu(i));
            HMENU hPopup = ::CreatePopupMenu();
            CString strText = loaded.GetMenuString(i, MF_BYPOSITION);
            InsertMenuW(m_hMenu, i, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), strText);
            ConvertPopup(&source, hPopup);
        } else {
            AppendMenuW(m_hMenu, MF_STRING, nID, loaded.GetMenuString(nID, MF_BYCOMMAND));
        }
    }
    loaded.DestroyMenu();
    return TRUE;
}

void CMenuEx::ConvertPopup(CMenu* pSource, HMENU hTarget) {
    auto* pSubMenu = new CMenuEx;
    pSubMenu->Attach(hTarget);
    m_arrSubMenus.Add(pSubMenu);

    int nCount = pSource->GetMenuItemCount();
    for (int p = 0; p < nCount; ++p) {
        UINT nID = pSource->GetMenuItemID(p);
        if (nID == 0) {
            AppendMenuW(hTarget, MF_SEPARATOR, 0, nullptr);
            tagMENUITEM* pItem = AddItemRecord(0, CString());
            ModifyMenuW(hTarget, p, MF_BYPOSITION | MF_OWNERDRAW, static_cast<UINT_PTR>(-1),
                        reinterpret_cast<LPCWSTR>(pItem));
        } else if (nID == static_cast<UINT>(-1)) {
            CMenuView source(pSource->GetSubMenu(p));
            HMENU hPopup = ::CreatePopupMenu();
            CString strText = pSource->GetMenuString(p, MF_BYPOSITION);
            InsertMenuW(hTarget, p, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), strText);
            tagMENUITEM* pItem = AddItemRecord(-1, strText);
            ModifyMenuW(hTarget, p, MF_BYPOSITION | MF_POPUP | MF_OWNERDRAW,
                        reinterpret_cast<UINT_PTR>(hPopup), reinterpret_cast<LPCWSTR>(pItem));
            ConvertPopup(&source, hPopup);
        } else {
            tagMENUITEM* pItem =
                AddItemRecord(static_cast<int>(nID), pSource->GetMenuString(nID, MF_BYCOMMAND));
            UINT nState = pSource->GetMenuState(p, MF_BYPOSITION) & kStateFlags;
            AppendMenuW(hTarget, nState | MF_OWNERDRAW, nID, reinterpret_cast<LPCWSTR>(pItem));
        }
    }
}

tagMENUITEM* CMenuEx::AddItemRecord(int nID, const CString& strText) {
    auto* pItem = new tagMENUITEM;
    pItem->nID = nID;
    pItem->strText = strText;
    pItem->nAux1 = -1;
    pItem->nAux2 = -1;
    pItem->pImageList = &m_imageList;
    m_arrItems.Add(pItem);
    return pItem;
}

void CMenuEx::MeasureItem(LPMEASUREITEMSTRUCT pMis) {
    const auto* pItem = reinterpret_cast<const tagMENUITEM*>(pMis->itemData);
    if (pItem->nID == 0) {
        pMis->itemHeight = m_nSeparatorHeight;
    } else {
        pMis->itemWidth = 100;
        pMis->itemHeight = 30;
    }
}

void CMenuEx::DrawItem(LPDRAWITEMSTRUCT pDis) {
    const auto* pItem = reinterpret_cast<const tagMENUITEM*>(pDis->itemData);
    CRect rc(pDis->rcItem);
    Gdiplus::Graphics graphics(pDis->hDC);
    if (pItem->nID == 0)
        return;
    Gdiplus::Image* pImage = (pDis->itemState & ODS_SELECTED) ? m_pImgSelected : m_pImgNormal;
    if (pImage)
        graphics.DrawImage(pImage, Gdiplus::Rect(rc.left, rc.top, rc.Width(), rc.Height()), rc.left, rc.top,
                           rc.Width(), rc.Height(), Gdiplus::UnitPixel);
}
