#pragma once
#include <windows.h>
#include <commctrl.h>

class CWnd;

// Owns one GDI object handle; deletes it on destruction unless detached.
class CGdiObject {
  public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();

    HGDIOBJ m_hObject = nullptr;
};

class CRgn : public CGdiObject {
  public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    BOOL CreatePolygonRgn(const POINT* pPoints, int nCount, int nMode);
};

class CBitmap : public CGdiObject {
  public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL CreateCompatibleBitmap(class CDC* pDC, int nWidth, int nHeight);
};

class CFont : public CGdiObject {
  public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

// Owns one image list handle.
class CImageList {
  public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { DeleteImageList(); }

    BOOL DeleteImageList();

    HIMAGELIST m_hImageList = nullptr;
};

// Owns one device context; subclasses decide how it is released.
class CDC {
  public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Returns the handle that was selected before; the caller selects it back.
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);

    HDC m_hDC = nullptr;
};

// BeginPaint/EndPaint around its own lifetime.
class CPaintDC : public CDC {
  public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

  private:
    HWND m_hWnd;
};
