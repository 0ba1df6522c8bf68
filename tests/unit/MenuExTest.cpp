#include "KovaltApp.h"
#include "menu/MenuEx.h"
#include "res/resource.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const UINT kTestMenu = 901; // tests/fixtures/test-menu.rc

MENUITEMINFOW ItemInfo(HMENU hMenu, int nPos) {
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_DATA;
    GetMenuItemInfoW(hMenu, nPos, TRUE, &mii);
    return mii;
}

struct ExpectedItem {
    int nID;
    std::wstring text;
};

void ExpectRecords(const CMenuEx& menu, const std::vector<ExpectedItem>& expected) {
    ASSERT_EQ(static_cast<int>(expected.size()), menu.m_arrItems.GetSize());
    for (int i = 0; i < menu.m_arrItems.GetSize(); ++i) {
        const tagMENUITEM* p = menu.m_arrItems[i];
        EXPECT_EQ(expected[i].nID, p->nID) << i;
        EXPECT_EQ(expected[i].text, std::wstring(p->strText)) << i;
        EXPECT_EQ(-1, p->nAux1);
        EXPECT_EQ(-1, p->nAux2);
        EXPECT_EQ(&menu.m_imageList, p->pImageList);
    }
}

} // namespace

TEST(CMenuEx, ConvertsTheMainMenuIntoFiveOwnerDrawnItems) {
    CMenuEx menu;
    ASSERT_TRUE(menu.BuildFromResource(IDR_MAIN_MENU));
    EXPECT_STREQ("CMenuEx", menu.GetRuntimeClass()->m_lpszClassName);
    EXPECT_STREQ("CMenu", menu.GetRuntimeClass()->m_pBaseClass->m_lpszClassName);

    ASSERT_EQ(1, menu.GetMenuItemCount());
    MENUITEMINFOW bar = ItemInfo(menu, 0);
    EXPECT_EQ(0u, bar.fType & MFT_OWNERDRAW) << "the bar's own entries stay plain";
    EXPECT_STREQ(L"PopMenu", menu.GetMenuString(0, MF_BYPOSITION));

    HMENU hPopup = menu.GetSubMenu(0);
    ASSERT_EQ(1, menu.m_arrSubMenus.GetSize());
    EXPECT_EQ(hPopup, menu.m_arrSubMenus[0]->m_hMenu);
    EXPECT_EQ(menu.m_arrSubMenus[0], CMenu::FromHandlePermanent(hPopup));
    EXPECT_EQ(0, menu.m_arrSubMenus[0]->m_arrItems.GetSize()) << "records stay on the converting object";

    ExpectRecords(menu, {{32776, L"翎川首页"},
                         {32777, L"翎川论坛"},
                         {32778, L"游戏帮助"},
                         {32779, L"游戏必备"},
                         {32780, L"退出"}});
    ASSERT_EQ(5, GetMenuItemCount(hPopup));
    for (int i = 0; i < 5; ++i) {
        MENUITEMINFOW mii = ItemInfo(hPopup, i);
        EXPECT_NE(0u, mii.fType & MFT_OWNERDRAW) << i;
        EXPECT_EQ(32776u + i, mii.wID);
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(menu.m_arrItems[i]), mii.dwItemData);
    }
}

TEST(CMenuEx, ConvertsSeparatorsNestedPopupsAndStatesDepthFirst) {
    CMenuEx menu;
    menu.BuildFromResource(kTestMenu);
    ASSERT_EQ(2, menu.GetMenuItemCount());
    EXPECT_EQ(104u, menu.GetMenuItemID(1)) << "a plain command on the bar is copied";
    EXPECT_STREQ(L"Bar item", menu.GetMenuString(104, MF_BYCOMMAND));

    ExpectRecords(menu,
                  {{100, L"One"}, {0, L""}, {-1, L"Nested"}, {101, L"Deep"}, {102, L"Off"}, {103, L"Tick"}});
    ASSERT_EQ(2, menu.m_arrSubMenus.GetSize());
    HMENU hPopup = menu.GetSubMenu(0);
    HMENU hNested = GetSubMenu(hPopup, 2);
    EXPECT_EQ(hPopup, menu.m_arrSubMenus[0]->m_hMenu);
    EXPECT_EQ(hNested, menu.m_arrSubMenus[1]->m_hMenu);

    struct {
        HMENU hMenu;
        int nPos;
        UINT wID;
        UINT fState;
        bool hasSubMenu;
    } cases[] = {
        {hPopup, 0, 100, 0, false},
        {hPopup, 1, 0xFFFF, 0, false},
        {hPopup, 2, 0, 0, true},
        {hPopup, 3, 102, MF_GRAYED, false},
        {hPopup, 4, 103, MFS_CHECKED, false},
        {hNested, 0, 101, MFS_CHECKED, false},
    };
    int nRecord[] = {0, 1, 2, 4, 5, 3};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        MENUITEMINFOW mii = ItemInfo(c.hMenu, c.nPos);
        EXPECT_NE(0u, mii.fType & MFT_OWNERDRAW) << i;
        if (!c.hasSubMenu) {
            EXPECT_EQ(c.wID, mii.wID & 0xFFFF) << i;
        }
        EXPECT_EQ(c.fState, mii.fState & (MFS_GRAYED | MFS_CHECKED)) << i;
        EXPECT_EQ(c.hasSubMenu, mii.hSubMenu != nullptr) << i;
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(menu.m_arrItems[nRecord[i]]), mii.dwItemData) << i;
    }
}

TEST(CMenuEx, DestructionFreesEveryMenuHandle) {
    HMENU hBar, hPopup, hNested;
    {
        CMenuEx menu;
        menu.BuildFromResource(kTestMenu);
        hBar = menu;
        hPopup = menu.GetSubMenu(0);
        hNested = GetSubMenu(hPopup, 2);
        ASSERT_TRUE(IsMenu(hNested));
    }
    for (HMENU h : {hBar, hPopup, hNested}) {
        EXPECT_FALSE(IsMenu(h));
        EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(h));
    }
}

TEST(CMenuEx, MeasuresItemsAndSeparators) {
    CMenuEx menu;
    struct {
        int nID;
        UINT width, height;
    } cases[] = {{0, 77, 6}, {32776, 100, 30}, {-1, 100, 30}};
    for (const auto& c : cases) {
        tagMENUITEM item;
        item.nID = c.nID;
        MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 0, 77, 55, reinterpret_cast<ULONG_PTR>(&item)};
        menu.MeasureItem(&mis);
        EXPECT_EQ(c.width, mis.itemWidth) << c.nID;
        EXPECT_EQ(c.height, mis.itemHeight) << c.nID;
    }
}

namespace {

const COLORREF kUnpainted = RGB(255, 0, 255);

// Draws one item into a 137 x 150 memory bitmap filled with magenta and returns the bitmap's pixels.
std::vector<COLORREF> DrawOneItem(CMenuEx& menu, int nID, RECT rcItem, UINT itemState) {
    HDC hScreen = GetDC(nullptr);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hBmp = CreateCompatibleBitmap(hScreen, 137, 150);
    HGDIOBJ hOld = SelectObject(hDC, hBmp);
    RECT rcAll = {0, 0, 137, 150};
    HBRUSH hBrush = CreateSolidBrush(kUnpainted);
    FillRect(hDC, &rcAll, hBrush);
    DeleteObject(hBrush);

    tagMENUITEM item;
    item.nID = nID;
    DRAWITEMSTRUCT dis = {
        ODT_MENU, 0, 0, ODA_DRAWENTIRE, itemState, nullptr, hDC, rcItem, reinterpret_cast<ULONG_PTR>(&item)};
    menu.DrawItem(&dis);

    std::vector<COLORREF> pixels;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 137; ++x)
            pixels.push_back(GetPixel(hDC, x, y));
    SelectObject(hDC, hOld);
    DeleteObject(hBmp);
    DeleteDC(hDC);
    ReleaseDC(nullptr, hScreen);
    return pixels;
}

// The loader's images are decoded bitmaps, so their pixels can be read.
COLORREF PictureColour(Gdiplus::Image* pImage, int x, int y) {
    Gdiplus::Color c;
    static_cast<Gdiplus::Bitmap*>(pImage)->GetPixel(x, y, &c);
    return RGB(c.GetR(), c.GetG(), c.GetB());
}

} // namespace

TEST(CMenuEx, DrawsTheSliceOfThePictureUnderTheItem) {
    CMenuEx menu;
    ASSERT_NE(nullptr, menu.m_pImgNormal);
    ASSERT_NE(nullptr, menu.m_pImgSelected);
    const RECT rcItem = {0, 60, 100, 90}; // the third item
    struct {
        UINT state;
        Gdiplus::Image* picture;
    } cases[] = {{0, menu.m_pImgNormal}, {ODS_SELECTED, menu.m_pImgSelected}};
    for (const auto& c : cases) {
        std::vector<COLORREF> px = DrawOneItem(menu, 32778, rcItem, c.state);
        for (int y = 0; y < 150; ++y) {
            for (int x = 0; x < 137; ++x) {
                bool inside = x < 100 && y >= 60 && y < 90;
                COLORREF expected = inside ? PictureColour(c.picture, x, y) : kUnpainted;
                ASSERT_EQ(expected, px[y * 137 + x]) << "state " << c.state << " at " << x << "," << y;
            }
        }
    }
}

TEST(CMenuEx, DrawsNothingForSeparatorsOrMissingPictures) {
    CMenuEx menu;
    delete menu.m_pImgSelected;
    menu.m_pImgSelected = nullptr;
    const RECT rcItem = {0, 30, 100, 60};
    for (auto [nID, state] : {std::pair<int, UINT>{0, 0}, {0, ODS_SELECTED}, {32777, ODS_SELECTED}}) {
        std::vector<COLORREF> px = DrawOneItem(menu, nID, rcItem, state);
        for (COLORREF c : px)
            ASSERT_EQ(kUnpainted, c) << nID << " " << state;
    }
    std::vector<COLORREF> px = DrawOneItem(menu, 32777, rcItem, 0);
    EXPECT_NE(kUnpainted, px[40 * 137 + 10]) << "the normal picture still draws";
}
