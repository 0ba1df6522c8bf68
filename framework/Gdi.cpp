#include "Gdi.h"
#include "Wnd.h"

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    DeleteObject();
    m_hObject = hObject;
    return hObject != nullptr;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CRgn::CreatePolygonRgn(const POINT* pPoints, int nCount, int nMode) {
    return Attach(::CreatePolygonRgn(pPoints, nCount, nMode));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight));
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList)
        return FALSE;
    BOOL bResult = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return bResult;
}

CDC::~CDC() {
    DeleteDC();
}

BOOL CDC::Attach(HDC hDC) {
    m_hDC = hDC;
    return hDC != nullptr;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    m_hDC = nullptr;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    DeleteDC();
    return Attach(::CreateCompatibleDC(pDC ? pDC->GetSafeHdc() : nullptr));
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->GetSafeHdc() : nullptr, xSrc, ySrc, dwRop);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}
