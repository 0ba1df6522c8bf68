#include "SkinSupport.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <map>

#define SKINTEST_WIDEN2(x) L##x
#define SKINTEST_WIDEN(x) SKINTEST_WIDEN2(x)

namespace skintest {

Picture Pixels(Gdiplus::Image& image) {
    Picture pic;
    Gdiplus::Bitmap* pBitmap = static_cast<Gdiplus::Bitmap*>(&image);
    pic.width = static_cast<int>(image.GetWidth());
    pic.height = static_cast<int>(image.GetHeight());
    pic.pixels.resize(static_cast<size_t>(pic.width) * pic.height);
    Gdiplus::Rect rc(0, 0, pic.width, pic.height);
    Gdiplus::BitmapData data{};
    if (pBitmap->LockBits(&rc, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        ADD_FAILURE() << "cannot read the picture's pixels";
        return pic;
    }
    for (int y = 0; y < pic.height; ++y) {
        const auto* pRow =
            reinterpret_cast<const Argb*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        std::copy(pRow, pRow + pic.width, pic.pixels.begin() + static_cast<size_t>(y) * pic.width);
    }
    pBitmap->UnlockBits(&data);
    return pic;
}

const Picture& Art(const wchar_t* pszName) {
    static std::map<std::wstring, Picture> cache;
    auto it = cache.find(pszName);
    if (it != cache.end())
        return it->second;
    std::wstring path = SKINTEST_WIDEN(KOVALT_ART_DIR) L"/" + std::wstring(pszName);
    Gdiplus::Bitmap bitmap(path.c_str());
    EXPECT_EQ(Gdiplus::Ok, bitmap.GetLastStatus()) << "cannot decode the committed picture";
    return cache[pszName] = Pixels(bitmap);
}

Picture Repaint(CKovaltDlg& dlg) {
    HWND hWnd = dlg.m_hWnd;
    InvalidateRect(hWnd, nullptr, FALSE);
    UpdateWindow(hWnd);

    // What lies off the screen reads back black: the screen must hold the whole window.
    RECT rc;
    GetWindowRect(hWnd, &rc);
    EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= GetSystemMetrics(SM_CXSCREEN) &&
                rc.bottom <= GetSystemMetrics(SM_CYSCREEN))
        << "the window is not wholly on the screen";
    GetClientRect(hWnd, &rc);
    Picture pic;
    pic.width = rc.right;
    pic.height = rc.bottom;
    pic.pixels.resize(static_cast<size_t>(pic.width) * pic.height);

    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = pic.width;
    bmi.bmiHeader.biHeight = -pic.height; // top-down, like Picture
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC hWindowDC = GetDC(hWnd);
    HDC hMemDC = CreateCompatibleDC(hWindowDC);
    HBITMAP hBitmap = CreateCompatibleBitmap(hWindowDC, pic.width, pic.height);
    HGDIOBJ hOld = SelectObject(hMemDC, hBitmap);
    BitBlt(hMemDC, 0, 0, pic.width, pic.height, hWindowDC, 0, 0, SRCCOPY);
    SelectObject(hMemDC, hOld);
    GetDIBits(hMemDC, hBitmap, 0, pic.height, pic.pixels.data(), &bmi, DIB_RGB_COLORS);
    DeleteObject(hBitmap);
    DeleteDC(hMemDC);
    ReleaseDC(hWnd, hWindowDC);
    for (Argb& p : pic.pixels)
        p |= 0xFF000000; // the screen has no alpha
    return pic;
}

Argb Over(Argb src, Argb dst) {
    unsigned a = src >> 24;
    Argb out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned s = (src >> shift) & 0xFF;
        unsigned d = (dst >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

bool SameColour(Argb a, Argb b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(d) > tolerance)
            return false;
    }
    return true;
}

int BlendTolerance(Argb src) {
    unsigned a = src >> 24;
    return a == 0 || a == 255 ? 0 : 2;
}

std::string Hex(Argb c) {
    char sz[16];
    snprintf(sz, sizeof(sz), "#%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return sz;
}

} // namespace skintest
