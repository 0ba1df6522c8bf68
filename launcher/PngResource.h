#pragma once
#include <windows.h>
#include <gdiplus.h>

// Decodes the "PNG" resource nResourceId (low word) of the program into a new image in *ppImage.
// TRUE when the resource was found and read, even if its bytes do not decode (the image then
// reads 0 x 0). FALSE leaves *ppImage untouched.
BOOL LoadPngResource(UINT nResourceId, Gdiplus::Image** ppImage);
