#pragma once
#include <windows.h>
#include <gdiplus.h>

#include "Array.h"
#include "Gdi.h"
#include "Geometry.h"
#include "Menu.h"
#include "String.h"

// The item data of every owner-drawn item. Only nID decides anything: 0 separator, -1 an entry
// that opens a sub-menu, otherwise the command id.
struct tagMENUITEM {
    CString strText;
    int nID = 0;
    int nAux1 = -1;
    int nAux2 = -1;
    int nAux3 = -1;
    CImageList* pImageList = nullptr;
    int nAux4 = 0;
};

// A menu whose popup items paint the slice of a picture of the whole menu under them: one picture
// for the normal look, one for the selected item. Built from a menu resource for one display.
class CMenuEx : public CMenu {
  public:
    CMenuEx();
    ~CMenuEx() override;

    static const CRuntimeClass classCMenuEx;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCMenuEx; }

    BOOL BuildFromResource(UINT nIDResource);
    void ConvertPopup(CMenu* pSource, HMENU hTarget);
    void DrawItem(LPDRAWITEMSTRUCT pDis) override;
    void MeasureItem(LPMEASUREITEMSTRUCT pMis) override;

    CString m_strModuleDir;
    Gdiplus::Image* m_pImgNormal = nullptr;
    Gdiplus::Image* m_pImgSelected = nullptr;
    int m_nSeparatorHeight = 6;
    CBitmap m_bitmap;
    BOOL m_bOwnBitmap = FALSE;
    COLORREF m_crPale = RGB(234, 243, 250);
    COLORREF m_crHighlightText;
    CImageList m_imageList;
    COLORREF m_crMenuText;
    CSize m_szImage = CSize(16, 15);
    CFont m_font;
    CArray<CMenuEx*, CMenuEx*> m_arrSubMenus;
    CArray<tagMENUITEM*, tagMENUITEM*> m_arrItems;

  private:
    tagMENUITEM* AddItemRecord(int nID, const CString& strText);
};
