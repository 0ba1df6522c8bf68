#include "PngResource.h"
#include "App.h"

#include <cstring>

BOOL LoadPngResource(UINT nResourceId, Gdiplus::Image** ppImage) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResInfo = FindResourceW(hInst, MAKEINTRESOURCEW(LOWORD(nResourceId)), L"PNG");
    if (!hResInfo)
        return FALSE;
    DWORD cbData = SizeofResource(hInst, hResInfo);
    HGLOBAL hResData = LoadResource(hInst, hResInfo);
    const void* pData = hResData ? LockResource(hResData) : nullptr;
    if (!pData)
        return FALSE;

    // The image reads its stream for as long as it lives, so the copy of the bytes outlives this call.
    HGLOBAL hBlock = GlobalAlloc(GMEM_FIXED, cbData);
    void* pBlock = hBlock ? GlobalLock(hBlock) : nullptr;
    if (!pBlock) {
        if (hBlock)
            GlobalFree(hBlock);
        return FALSE;
    }
    memcpy(pBlock, pData, cbData);

    IStream* pStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(hBlock, FALSE, &pStream))) {
        GlobalUnlock(hBlock);
        GlobalFree(hBlock);
        return FALSE;
    }
    *ppImage = new Gdiplus::Image(pStream);
    GlobalUnlock(hBlock);
    pStream->Release();
    return TRUE;
}
