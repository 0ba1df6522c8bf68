#include "Gdi.h"

#include <gtest/gtest.h>

namespace {
bool IsLiveRegion(HGDIOBJ h) {
    return GetObjectType(h) == OBJ_REGION;
}
const POINT kTriangle[] = {{0, 0}, {10, 0}, {0, 10}};
} // namespace

TEST(CGdiObject, DeletesItsHandleOnDestruction) {
    HGDIOBJ h;
    {
        CRgn rgn;
        ASSERT_TRUE(rgn.CreatePolygonRgn(kTriangle, 3, ALTERNATE));
        h = rgn.GetSafeHandle();
        EXPECT_TRUE(IsLiveRegion(h));
    }
    EXPECT_FALSE(IsLiveRegion(h));
}

TEST(CGdiObject, DetachedHandleSurvivesTheObject) {
    HGDIOBJ h;
    {
        CRgn rgn;
        rgn.CreatePolygonRgn(kTriangle, 3, ALTERNATE);
        h = rgn.Detach();
        EXPECT_EQ(nullptr, rgn.GetSafeHandle());
    }
    EXPECT_TRUE(IsLiveRegion(h));
    DeleteObject(h);
}

TEST(CDC, MemoryDcBlitsFromSelectedBitmap) {
    CDC screen;
    screen.Attach(GetDC(nullptr));
    CDC src, dst;
    ASSERT_TRUE(src.CreateCompatibleDC(&screen));
    ASSERT_TRUE(dst.CreateCompatibleDC(&screen));
    CBitmap bmSrc, bmDst;
    ASSERT_TRUE(bmSrc.CreateCompatibleBitmap(&screen, 4, 4));
    ASSERT_TRUE(bmDst.CreateCompatibleBitmap(&screen, 4, 4));
    HGDIOBJ oldSrc = src.SelectObject(bmSrc);
    HGDIOBJ oldDst = dst.SelectObject(bmDst);
    SetPixel(src, 2, 1, RGB(200, 10, 30));
    ASSERT_TRUE(dst.BitBlt(0, 0, 4, 4, &src, 0, 0, SRCCOPY));
    EXPECT_EQ(RGB(200, 10, 30), GetPixel(dst, 2, 1));
    src.SelectObject(oldSrc);
    dst.SelectObject(oldDst);
    ReleaseDC(nullptr, screen.Detach());
}
