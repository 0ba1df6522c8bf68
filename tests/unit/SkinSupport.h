#pragma once
#include "DialogRunner.h"

#include <memory>
#include <string>
#include <vector>

// Shared by the skin, painting and settings tests: the real dialog run in-process, the committed
// artwork decoded from its files, and the window's pixels read back.
namespace skintest {

using ::After;
using ::RunDialog;

// 0xAARRGGBB, not premultiplied.
using Argb = UINT32;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Argb> pixels;
    Argb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Pixels of an image as GDI+ decodes it.
Picture Pixels(Gdiplus::Image& image);
// A committed picture from launcher/res/art, decoded from its file (not from our resources).
const Picture& Art(const wchar_t* pszName);

// Repaints the whole window now and reads back what it shows.
Picture Repaint(CKovaltDlg& dlg);

// `src` laid over `dst` by its alpha, the way the window composes its pictures.
Argb Over(Argb src, Argb dst);
// Equal colour channels, allowing `tolerance` per channel.
bool SameColour(Argb a, Argb b, int tolerance = 0);
// Tolerance for a pixel blended from a source pixel: rounding differs only where alpha is partial.
int BlendTolerance(Argb src);
std::string Hex(Argb c);

} // namespace skintest
