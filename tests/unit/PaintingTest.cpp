#include "PngResource.h"
#include "SkinSupport.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <sstream>

using namespace skintest;

namespace {

const int kDamagedPng = 900; // tests/fixtures/test-resources.rc

struct Button {
    const wchar_t* art;
    RECT rc;
    int CKovaltDlg::*state;
};
// In drawing order: where rectangles overlap, the later button shows.
const Button kButtons[] = {
    {L"menu-button.png", {654, 0, 697, 27}, &CKovaltDlg::m_nMenuButtonState},
    {L"minimise.png", {696, 0, 739, 27}, &CKovaltDlg::m_nMinButtonState},
    {L"close.png", {737, 0, 778, 27}, &CKovaltDlg::m_nCloseButtonState},
};
const RECT kStart = {398, 556, 585, 611};

bool InRect(const RECT& rc, int x, int y) {
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

// The background as the window shows it: laid over the black of a fresh bitmap.
Argb Background(int x, int y) {
    return Over(Art(L"background.png").At(x, y), 0xFF000000);
}

// What a button's rectangle shows at window (x, y) in state s, where no later button covers it.
Argb ButtonPixel(const Button& b, int s, int x, int y) {
    return Over(Art(b.art).At(x - b.rc.left, s * 27 + y - b.rc.top), Background(x, y));
}

bool CoveredByLater(size_t i, int x, int y) {
    for (size_t j = i + 1; j < std::size(kButtons); ++j)
        if (InRect(kButtons[j].rc, x, y))
            return true;
    return false;
}

// Counts the pixels of button i that differ from its sprite row; describes the first.
int ButtonMismatches(const Picture& shot, size_t i, int s, std::string* pFirst) {
    const Button& b = kButtons[i];
    int n = 0;
    for (int y = b.rc.top; y < b.rc.bottom; ++y)
        for (int x = b.rc.left; x < b.rc.right; ++x) {
            if (CoveredByLater(i, x, y))
                continue;
            Argb src = Art(b.art).At(x - b.rc.left, s * 27 + y);
            Argb want = ButtonPixel(b, s, x, y);
            if (!SameColour(shot.At(x, y), want, BlendTolerance(src)) && n++ == 0) {
                std::ostringstream os;
                os << "(" << x << "," << y << ") shows " << Hex(shot.At(x, y)) << ", sprite row " << s
                   << " gives " << Hex(want);
                *pFirst = os.str();
            }
        }
    return n;
}

// Points of the window where only the background lies: inside the shape, away from the buttons,
// the start button and the places of the web panes (which are child windows over the picture).
std::vector<POINT> BackgroundPoints() {
    const RECT covered[] = {
        {181, 43, 780, 533}, {0, 19, 170, 629}, {791, 19, 961, 629}, {654, 0, 778, 27}, kStart};
    std::vector<POINT> pts;
    for (int y = 2; y < 648; y += 9)
        for (int x = 172; x < 790; x += 7) {
            bool bCovered = false;
            for (const RECT& rc : covered)
                bCovered = bCovered || InRect(rc, x, y);
            if (!bCovered)
                pts.push_back({x, y});
        }
    return pts;
}

// The caption: pixels that differ from the same window painted without a name.
struct Caption {
    int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN, count = 0, white = 0;
    bool onlyLighter = true;
    double Centre() const { return (left + right + 1) / 2.0; }
};
Caption FindCaption(const Picture& named, const Picture& blank) {
    Caption c;
    for (int y = 0; y < named.height; ++y)
        for (int x = 0; x < named.width; ++x) {
            Argb a = named.At(x, y), b = blank.At(x, y);
            if (a == b)
                continue;
            ++c.count;
            c.left = std::min(c.left, x);
            c.right = std::max(c.right, x);
            c.top = std::min(c.top, y);
            c.bottom = std::max(c.bottom, y);
            if ((a & 0xFFFFFF) == 0xFFFFFF)
                ++c.white;
            for (int shift = 0; shift < 24; shift += 8)
                c.onlyLighter = c.onlyLighter && ((a >> shift) & 0xFF) >= ((b >> shift) & 0xFF);
        }
    return c;
}

Picture PaintWithName(CKovaltDlg& dlg, const wchar_t* pszName) {
    dlg.m_strGameName = pszName;
    return Repaint(dlg);
}

} // namespace

TEST(Painting, EachButtonShowsTheSpriteRowOfItsStateInEveryCombination) {
    // The three rows must differ, or this test could not tell them apart.
    for (const Button& b : kButtons) {
        const Picture& art = Art(b.art);
        ASSERT_NE(
            std::vector<Argb>(art.pixels.begin(), art.pixels.begin() + 27 * art.width),
            std::vector<Argb>(art.pixels.begin() + 27 * art.width, art.pixels.begin() + 54 * art.width));
        ASSERT_NE(std::vector<Argb>(art.pixels.begin() + 27 * art.width, art.pixels.begin() + 54 * art.width),
                  std::vector<Argb>(art.pixels.begin() + 54 * art.width, art.pixels.end()));
    }
    RunDialog([](CKovaltDlg& dlg) {
        for (int combo = 0; combo < 27; ++combo) {
            int states[3] = {combo % 3, combo / 3 % 3, combo / 9};
            for (size_t i = 0; i < 3; ++i)
                dlg.*kButtons[i].state = states[i];
            Picture shot = Repaint(dlg);
            for (size_t i = 0; i < 3; ++i) {
                std::string first;
                EXPECT_EQ(0, ButtonMismatches(shot, i, states[i], &first))
                    << "button " << i << " in states " << states[0] << states[1] << states[2] << ": "
                    << first;
            }
            // The overlaps: the later button's first columns win.
            for (int y = 0; y < 27; ++y) {
                EXPECT_TRUE(SameColour(shot.At(696, y), ButtonPixel(kButtons[1], states[1], 696, y), 2))
                    << "x=696 y=" << y << " states " << states[0] << states[1] << states[2];
                for (int x : {737, 738})
                    EXPECT_TRUE(SameColour(shot.At(x, y), ButtonPixel(kButtons[2], states[2], x, y), 2))
                        << "x=" << x << " y=" << y << " states " << states[0] << states[1] << states[2];
            }
            if (HasFailure())
                break;
        }
        dlg.PostMessage(WM_CLOSE);
    });
}

// Wine's GDI+ draws nothing where a source rectangle reaches past the picture, so with the real art
// the overlap shows the later button whatever the order. Sprites wider than their rectangles make the
// drawing order visible (the later button must still win), and show that a sprite is cut at its
// rectangle's width, not squeezed into it: their blue tail past 43 columns never shows.
TEST(Painting, LaterButtonsWinTheOverlapEvenOverFullWidthSprites) {
    Gdiplus::Bitmap menu(60, 81, PixelFormat32bppARGB);
    Gdiplus::Bitmap minimise(60, 81, PixelFormat32bppARGB);
    for (auto [pBitmap, colour] : {std::pair{&menu, 0xFFFF0000u}, std::pair{&minimise, 0xFF00FF00u}}) {
        Gdiplus::Graphics g(pBitmap);
        g.Clear(Gdiplus::Color(0xFF0000FF));
        Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
        g.FillRectangle(&brush, 0, 0, 43, 81);
    }
    RunDialog([&](CKovaltDlg& dlg) {
        Gdiplus::Image* pRealMenu = dlg.m_pImgMenuButton;
        Gdiplus::Image* pRealMin = dlg.m_pImgMinButton;
        dlg.m_pImgMenuButton = &menu;
        dlg.m_pImgMinButton = &minimise;
        for (int s = 0; s < 3; ++s) {
            dlg.m_nMenuButtonState = dlg.m_nMinButtonState = dlg.m_nCloseButtonState = s;
            Picture shot = Repaint(dlg);
            for (int y = 0; y < 27; ++y) {
                EXPECT_EQ(0xFFFF0000u, shot.At(695, y)) << "y=" << y;
                EXPECT_EQ(0xFF00FF00u, shot.At(696, y)) << "y=" << y;
                EXPECT_EQ(0xFF00FF00u, shot.At(736, y)) << "y=" << y;
                for (int x : {737, 738}) {
                    // The close sprite's translucent corners now lie over the green.
                    Argb src = Art(L"close.png").At(x - 737, s * 27 + y);
                    EXPECT_TRUE(SameColour(shot.At(x, y), Over(src, 0xFF00FF00u), BlendTolerance(src)))
                        << x << "," << y << " shows " << Hex(shot.At(x, y));
                }
            }
        }
        dlg.m_pImgMenuButton = pRealMenu;
        dlg.m_pImgMinButton = pRealMin;
        dlg.PostMessage(WM_CLOSE);
    });
}

TEST(Painting, ShowsTheStartButtonAndTheBackgroundAndNoCaptionForAnEmptyName) {
    RunDialog([](CKovaltDlg& dlg) {
        Picture shot = PaintWithName(dlg, L"");
        const Picture& start = Art(L"start.png");
        int nBad = 0;
        for (int y = kStart.top; y < kStart.bottom; ++y)
            for (int x = kStart.left; x < kStart.right; ++x) {
                Argb src = start.At(x - kStart.left, y - kStart.top);
                if (!SameColour(shot.At(x, y), Over(src, Background(x, y)), BlendTolerance(src)) &&
                    nBad++ == 0)
                    ADD_FAILURE() << "start button (" << x << "," << y << ") shows " << Hex(shot.At(x, y));
            }
        EXPECT_EQ(0, nBad);
        std::vector<POINT> pts = BackgroundPoints();
        ASSERT_GT(pts.size(), 500u);
        nBad = 0;
        for (POINT pt : pts)
            if (shot.At(pt.x, pt.y) != Background(pt.x, pt.y) && nBad++ == 0)
                ADD_FAILURE() << "background (" << pt.x << "," << pt.y << ") shows "
                              << Hex(shot.At(pt.x, pt.y)) << ", art " << Hex(Background(pt.x, pt.y));
        EXPECT_EQ(0, nBad);
        dlg.PostMessage(WM_CLOSE);
    });
}

TEST(Painting, CaptionIsWhiteCentredOnTheStartButtonWhateverItsLength) {
    RunDialog([](CKovaltDlg& dlg) {
        Picture blank = PaintWithName(dlg, L"");
        for (const wchar_t* pszName : {L"翎川", L"测试游戏", L"翎川网络游戏世界在线版", L"W"}) {
            Caption c = FindCaption(PaintWithName(dlg, pszName), blank);
            ASSERT_GT(c.count, 0) << "no caption drawn (is a font standing in for 宋体?)";
            EXPECT_GT(c.white, 0) << "the caption is opaque white where a stroke covers a pixel";
            EXPECT_TRUE(c.onlyLighter) << "white text only lightens what lies under it";
            EXPECT_GE(c.top, 591);
            EXPECT_LE(c.bottom, 610) << "inside the caption row";
            EXPECT_NEAR(490.5, c.Centre(), 1.0) << "columns " << c.left << ".." << c.right;
        }
        dlg.PostMessage(WM_CLOSE);
    });
}

// A picture that is missing (null) or holds nothing (its bytes did not decode) is left out; the
// rest of the window is painted as usual, and without a start picture the caption centres on 397.
TEST(Painting, MissingOrUndecodablePicturesAreLeftOut) {
    struct Case {
        const char* what;
        Gdiplus::Image* CKovaltDlg::*image;
        RECT part;
    } cases[] = {
        {"background", &CKovaltDlg::m_pImgBackground, {0, 0, 961, 648}},
        {"start", &CKovaltDlg::m_pImgStartButton, kStart},
        {"menu", &CKovaltDlg::m_pImgMenuButton, {654, 0, 696, 27}},
        {"minimise", &CKovaltDlg::m_pImgMinButton, {696, 0, 737, 27}},
        {"close", &CKovaltDlg::m_pImgCloseButton, {737, 0, 778, 27}},
    };
    Gdiplus::Image* pJunk = nullptr;
    ASSERT_TRUE(LoadPngResource(kDamagedPng, &pJunk));
    ASSERT_NE(nullptr, pJunk);
    RunDialog([&](CKovaltDlg& dlg) {
        Picture blank = PaintWithName(dlg, L"");
        Picture normal = PaintWithName(dlg, L"测试游戏");
        Caption normalCaption = FindCaption(normal, blank);
        for (const Case& c : cases) {
            for (Gdiplus::Image* pStandIn : {static_cast<Gdiplus::Image*>(nullptr), pJunk}) {
                SCOPED_TRACE(std::string(c.what) + (pStandIn ? " undecodable" : " missing"));
                Gdiplus::Image* pReal = dlg.*c.image;
                dlg.*c.image = pStandIn;
                Picture shot = PaintWithName(dlg, L"测试游戏");
                Picture shotBlank = PaintWithName(dlg, L"");
                dlg.*c.image = pReal;

                // The part shows what lies under it: the background, or for the background itself
                // not the artwork.
                int nDrawn = 0, nChecked = 0;
                for (int y = c.part.top; y < c.part.bottom; y += 2)
                    for (int x = c.part.left; x < c.part.right; x += 2) {
                        bool bUnderCaption = y >= 591 && y < 611 && x >= 380 && x < 600;
                        bool bOverlaid = InRect({654, 0, 778, 27}, x, y) || InRect(kStart, x, y);
                        if (c.image == &CKovaltDlg::m_pImgBackground) {
                            Argb art = Background(x, y);
                            if (bOverlaid || bUnderCaption || (art & 0xFFFFFF) == 0)
                                continue;
                            ++nChecked;
                            nDrawn += shot.At(x, y) == art;
                        } else if (!bUnderCaption) {
                            ++nChecked;
                            nDrawn += shot.At(x, y) != Background(x, y);
                        }
                    }
                EXPECT_GT(nChecked, 100);
                EXPECT_EQ(0, nDrawn) << "pixels of the missing picture still show";

                // Everything else is as usual.
                for (const Case& other : cases) {
                    if (&other == &c || other.image == &CKovaltDlg::m_pImgBackground)
                        continue;
                    int nDiffer = 0;
                    for (int y = other.part.top; y < other.part.bottom; ++y)
                        for (int x = other.part.left; x < other.part.right; ++x) {
                            bool bUnderCaption = y >= 591 && y < 611;
                            if (c.image == &CKovaltDlg::m_pImgBackground) {
                                // Over black instead of the background: opaque pixels only.
                                RECT rc = other.part;
                                const Button* pb = nullptr;
                                for (const Button& b : kButtons)
                                    if (b.rc.left == rc.left)
                                        pb = &b;
                                Argb src = pb ? Art(pb->art).At(x - rc.left, y)
                                              : Art(L"start.png").At(x - rc.left, y - rc.top);
                                if ((src >> 24) == 255 && !bUnderCaption)
                                    nDiffer += !SameColour(shot.At(x, y), src);
                            } else if (!bUnderCaption) {
                                nDiffer += shot.At(x, y) != normal.At(x, y);
                            }
                        }
                    EXPECT_EQ(0, nDiffer) << other.what << " is not painted as usual";
                }

                Caption caption = FindCaption(shot, shotBlank);
                ASSERT_GT(caption.count, 0) << "the caption is still drawn";
                if (c.image == &CKovaltDlg::m_pImgStartButton) {
                    // Width 0: x = 397 - measured width / 2, so the text centres on 397.
                    EXPECT_NEAR(397.0, caption.Centre(), 1.0);
                } else {
                    EXPECT_EQ(normalCaption.left, caption.left);
                    EXPECT_EQ(normalCaption.right, caption.right);
                }
            }
        }
        dlg.PostMessage(WM_CLOSE);
    });
    delete pJunk;
}

TEST(Painting, EraseDrawsNothingAndTheDragIconIsTheAppIcon) {
    RunDialog([](CKovaltDlg& dlg) {
        HDC hScreen = GetDC(nullptr);
        HDC hDC = CreateCompatibleDC(hScreen);
        HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 16, 16);
        HGDIOBJ hOld = SelectObject(hDC, hBitmap);
        RECT rc = {0, 0, 16, 16};
        HBRUSH hBrush = CreateSolidBrush(RGB(12, 34, 56));
        FillRect(hDC, &rc, hBrush);
        EXPECT_EQ(TRUE, dlg.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC)));
        EXPECT_EQ(RGB(12, 34, 56), GetPixel(hDC, 8, 8));
        SelectObject(hDC, hOld);
        DeleteObject(hBrush);
        DeleteObject(hBitmap);
        DeleteDC(hDC);
        ReleaseDC(nullptr, hScreen);

        ASSERT_NE(nullptr, dlg.m_hIcon);
        EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.m_hIcon), dlg.SendMessage(WM_QUERYDRAGICON));
        dlg.PostMessage(WM_CLOSE);
    });
}
