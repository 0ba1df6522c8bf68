// The window paints all of itself: the skin is composed off-screen and reaches the screen in one copy.
#include "KovaltDlg.h"
#include "PngResource.h"
#include "res/resource.h"

#include <memory>

namespace {

// A title-strip button: row `nState` of its three-row sprite, copied unscaled at the rectangle's own
// size. Where the rectangle is wider than the picture, the next button is drawn over the excess.
void DrawButtonSprite(Gdiplus::Graphics& graphics, Gdiplus::Image* pImage, const CRect& rc, int nState) {
    if (!pImage)
        return;
    int w = rc.Width();
    int h = rc.Height();
    graphics.DrawImage(pImage, Gdiplus::Rect(rc.left, rc.top, w, h), 0, nState * h, w, h, Gdiplus::UnitPixel);
}

std::unique_ptr<Gdiplus::Font> CreateCaptionFont() {
    Gdiplus::FontFamily family(L"宋体");
    return std::unique_ptr<Gdiplus::Font>(
        new Gdiplus::Font(&family, 13.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel));
}

// The background is opaque wherever the window's shape lets it show, yet GDI+ blends every pixel
// of a picture that has an alpha channel. An opaque copy, made once, draws the same window several
// times faster. A picture that did not decode is kept as it is.
void KeepOpaqueCopy(Gdiplus::Image*& pImage) {
    if (!pImage || pImage->GetWidth() == 0)
        return;
    INT w = static_cast<INT>(pImage->GetWidth()), h = static_cast<INT>(pImage->GetHeight());
    auto* pCopy = new Gdiplus::Bitmap(w, h, PixelFormat32bppRGB);
    if (pCopy->GetLastStatus() != Gdiplus::Ok) {
        delete pCopy;
        return;
    }
    {
        Gdiplus::Graphics graphics(pCopy);
        graphics.DrawImage(pImage, Gdiplus::Rect(0, 0, w, h), 0, 0, w, h, Gdiplus::UnitPixel);
    }
    delete pImage;
    pImage = pCopy;
}

} // namespace

void CKovaltDlg::OnPaint() {
    CPaintDC dc(this);
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    std::unique_ptr<CBitmap> pBitmap(new CBitmap);
    pBitmap->CreateCompatibleBitmap(&dc, m_nWidth, m_nHeight);
    HGDIOBJ hOldBitmap = memDC.SelectObject(*pBitmap);
    {
        Gdiplus::Graphics graphics(memDC.GetSafeHdc());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);

        DrawSkinImage(graphics, m_pImgBackground, CRect(0, 0, m_nWidth, m_nHeight));
        DrawSkinImage(graphics, m_pImgStartButton, m_rcStartButton);
        // Later buttons cover the overlapping columns of earlier ones: the order matters.
        DrawButtonSprite(graphics, m_pImgMenuButton, m_rcMenuButton, m_nMenuButtonState);
        DrawButtonSprite(graphics, m_pImgMinButton, m_rcMinButton, m_nMinButtonState);
        DrawButtonSprite(graphics, m_pImgCloseButton, m_rcCloseButton, m_nCloseButtonState);

        std::unique_ptr<Gdiplus::Font> pFont = CreateCaptionFont();
        DrawGameName(graphics, pFont.get());

        dc.BitBlt(0, 0, m_nWidth, m_nHeight, &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(hOldBitmap);
        pBitmap.reset();
    } // the font goes, then the graphics; then the memory DC, then the paint DC
}

void CKovaltDlg::DrawGameName(Gdiplus::Graphics& graphics, const Gdiplus::Font* pFont) {
    Gdiplus::RectF rcLayout(
        static_cast<Gdiplus::REAL>(m_rcGameName.left), static_cast<Gdiplus::REAL>(m_rcGameName.top),
        static_cast<Gdiplus::REAL>(m_rcGameName.Width()), static_cast<Gdiplus::REAL>(m_rcGameName.Height()));
    Gdiplus::RectF rcBounds;
    {
        Gdiplus::StringFormat format;
        graphics.MeasureString(m_strGameName, -1, pFont, rcLayout, &format, &rcBounds);
    }
    // Centred on the start picture (whatever the name's width), nudged to the button's x = 397.
    UINT nStartWidth = m_pImgStartButton ? m_pImgStartButton->GetWidth() : 0;
    rcBounds.X = static_cast<Gdiplus::REAL>((nStartWidth - rcBounds.Width) * 0.5) + 397;

    Gdiplus::SolidBrush brush(Gdiplus::Color(0xFFFFFFFF));
    Gdiplus::StringFormat format;
    graphics.DrawString(m_strGameName, -1, pFont, rcBounds, &format, &brush);
}

void CKovaltDlg::DrawSkinImage(Gdiplus::Graphics& graphics, Gdiplus::Image* pImage, const CRect& rc) {
    if (!pImage)
        return;
    graphics.DrawImage(pImage, Gdiplus::Rect(rc.left, rc.top, rc.Width(), rc.Height()), 0, 0,
                       static_cast<INT>(pImage->GetWidth()), static_cast<INT>(pImage->GetHeight()),
                       Gdiplus::UnitPixel);
}

// Only OnPaint draws: erasing first would flicker.
BOOL CKovaltDlg::OnEraseBkgnd(CDC*) {
    return TRUE;
}

HCURSOR CKovaltDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CKovaltDlg::LoadSkinImages() {
    m_pImgBackground = nullptr;
    m_pImgStartButton = nullptr;
    m_pImgMenuButton = nullptr;
    m_pImgMinButton = nullptr;
    m_pImgCloseButton = nullptr;
    LoadPngResource(IDR_PNG_BACKGROUND, &m_pImgBackground);
    LoadPngResource(IDR_PNG_START, &m_pImgStartButton);
    LoadPngResource(IDR_PNG_MENU_BUTTON, &m_pImgMenuButton);
    LoadPngResource(IDR_PNG_MINIMISE, &m_pImgMinButton);
    LoadPngResource(IDR_PNG_CLOSE, &m_pImgCloseButton);
    KeepOpaqueCopy(m_pImgBackground);
}
