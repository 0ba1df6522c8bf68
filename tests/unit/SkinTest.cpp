#include "PngResource.h"
#include "SkinSupport.h"

#include <gtest/gtest.h>

using namespace skintest;

namespace {
const UINT kDamagedPng = 900; // tests/fixtures/test-resources.rc
Gdiplus::Image* const kUntouched = reinterpret_cast<Gdiplus::Image*>(0x5EED);
} // namespace

TEST(SkinImages, EveryPictureDecodesAtItsSizeAndFormatWithTheCommittedPixels) {
    const struct {
        UINT id;
        const wchar_t* art;
        UINT width, height;
        Gdiplus::PixelFormat format;
    } cases[] = {
        {130, L"background.png", 961, 648, PixelFormat32bppARGB},
        {131, L"close.png", 41, 81, PixelFormat32bppARGB},
        {132, L"menu-button.png", 42, 81, PixelFormat32bppARGB},
        {133, L"menu-selected.png", 137, 150, PixelFormat24bppRGB},
        {134, L"menu-normal.png", 137, 150, PixelFormat24bppRGB},
        {135, L"minimise.png", 41, 81, PixelFormat32bppARGB},
        {136, L"start.png", 187, 55, PixelFormat32bppARGB},
        // Only the low word names the resource.
        {0x10000 + 136, L"start.png", 187, 55, PixelFormat32bppARGB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        Gdiplus::Image* pImage = nullptr;
        ASSERT_TRUE(LoadPngResource(c.id, &pImage));
        ASSERT_NE(nullptr, pImage);
        EXPECT_EQ(Gdiplus::Ok, pImage->GetLastStatus());
        EXPECT_EQ(c.width, pImage->GetWidth());
        EXPECT_EQ(c.height, pImage->GetHeight());
        EXPECT_EQ(c.format, pImage->GetPixelFormat());
        EXPECT_TRUE(Pixels(*pImage).pixels == Art(c.art).pixels)
            << "the resource is not the committed picture";
        delete pImage;
    }
}

TEST(SkinImages, UnknownIdGivesFalseAndLeavesThePointerAlone) {
    for (UINT id : {0u, 129u, 137u, 901u, 0xFFFFu}) {
        Gdiplus::Image* pImage = kUntouched;
        EXPECT_FALSE(LoadPngResource(id, &pImage)) << id;
        EXPECT_EQ(kUntouched, pImage) << id;
    }
}

TEST(SkinImages, DamagedDataGivesAnImageThatReadsZeroByZero) {
    Gdiplus::Image* pImage = kUntouched;
    ASSERT_TRUE(LoadPngResource(kDamagedPng, &pImage));
    ASSERT_NE(kUntouched, pImage);
    ASSERT_NE(nullptr, pImage);
    EXPECT_EQ(0u, pImage->GetWidth());
    EXPECT_EQ(0u, pImage->GetHeight());
    delete pImage;
}

TEST(SkinImages, TheSameIdTwiceGivesIndependentImages) {
    Gdiplus::Image* pFirst = nullptr;
    Gdiplus::Image* pSecond = nullptr;
    ASSERT_TRUE(LoadPngResource(135, &pFirst));
    ASSERT_TRUE(LoadPngResource(135, &pSecond));
    ASSERT_NE(pFirst, pSecond);
    delete pFirst;
    EXPECT_EQ(41u, pSecond->GetWidth());
    EXPECT_TRUE(Pixels(*pSecond).pixels == Art(L"minimise.png").pixels);
    delete pSecond;
}

TEST(SkinImages, TheWindowLoadsItsFivePicturesDuringInitialisation) {
    RunDialog([](CKovaltDlg& dlg) {
        const struct {
            Gdiplus::Image* pImage;
            UINT width, height;
        } cases[] = {
            {dlg.m_pImgBackground, 961, 648}, {dlg.m_pImgMenuButton, 42, 81},   {dlg.m_pImgMinButton, 41, 81},
            {dlg.m_pImgCloseButton, 41, 81},  {dlg.m_pImgStartButton, 187, 55},
        };
        for (const auto& c : cases) {
            ASSERT_NE(nullptr, c.pImage);
            EXPECT_EQ(c.width, c.pImage->GetWidth());
            EXPECT_EQ(c.height, c.pImage->GetHeight());
        }
        EXPECT_TRUE(Pixels(*dlg.m_pImgCloseButton).pixels == Art(L"close.png").pixels);
        EXPECT_TRUE(Pixels(*dlg.m_pImgMinButton).pixels == Art(L"minimise.png").pixels);
        dlg.PostMessage(WM_CLOSE);
    });
}
