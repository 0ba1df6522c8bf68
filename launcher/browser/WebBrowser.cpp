#include "WebBrowser.h"

namespace {
// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kClsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
constexpr DISPID kDispidNavigate = 0x68;
} // namespace

BOOL CWebBrowser::Create(LPCWSTR, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID, void*) {
    return CreateControl(kClsidWebBrowser, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CWebBrowser::Navigate(LPCWSTR lpszURL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                           VARIANT* Headers) {
    if (COleControlSite* pSite = GetControlSite())
        pSite->InvokeMethod(kDispidNavigate, lpszURL, Flags, TargetFrameName, PostData, Headers);
}
