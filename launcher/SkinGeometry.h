#pragma once
#include <windows.h>

// Every pixel constant of the skin's layout, in window coordinates (client = window: no frame).
namespace Skin {

constexpr int kWidth = 961;
constexpr int kHeight = 648;

constexpr RECT kTitleBar = {170, 0, 791, 40};
constexpr RECT kMainPane = {181, 43, 780, 533};
constexpr RECT kLeftAd = {0, 19, 170, 629};
constexpr RECT kRightAd = {791, 19, 961, 629};
constexpr RECT kStartButton = {398, 556, 585, 611};
constexpr RECT kGameName = {395, 591, 582, 610};
// The three title-strip buttons overlap by one and two columns; the later one wins there.
constexpr RECT kMenuButton = {654, 0, 697, 27};
constexpr RECT kMinButton = {696, 0, 739, 27};
constexpr RECT kCloseButton = {737, 0, 778, 27};
constexpr RECT kLogo = {174, 5, 274, 35};

// The central panel joined to the two shorter side panels, with 20 x 19 diagonal cuts.
constexpr POINT kWindowShape[12] = {
    {0, 19},    {150, 19},  {170, 0},   {791, 0},   {811, 19},  {961, 19},
    {961, 629}, {811, 629}, {791, 648}, {170, 648}, {150, 629}, {0, 629},
};

// The popup menu opens here, relative to the window's top-left corner.
constexpr POINT kMenuAnchor = {654, 27};

} // namespace Skin
