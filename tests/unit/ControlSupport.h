#pragma once
// Drives hosted controls the way the platform does: finds the sink a control was advised with and
// calls it with event arguments shaped as the web browser control sends them.
#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

// {8856F961-340A-11D0-A96B-00C04FD705A2}
const CLSID kClsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
// DWebBrowserEvents2 {34A715A0-6587-11D0-924A-0020AFC7AC4D}
const IID kDiidWebBrowserEvents2 = {
    0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

constexpr DISPID kDispidProgressChange = 108;
constexpr DISPID kDispidBeforeNavigate2 = 250;

// The sinks advised on the control's DWebBrowserEvents2 connection point.
inline int AdvisedSinks(IUnknown* pControl, ComPtr<IDispatch>* pFirst = nullptr) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    ComPtr<IEnumConnections> connections;
    if (!pControl || FAILED(pControl->QueryInterface(IID_PPV_ARGS(&container))) ||
        FAILED(container->FindConnectionPoint(kDiidWebBrowserEvents2, &point)) ||
        FAILED(point->EnumConnections(&connections)))
        return -1;
    int n = 0;
    CONNECTDATA cd;
    while (connections->Next(1, &cd, nullptr) == S_OK) {
        if (n++ == 0 && pFirst)
            cd.pUnk->QueryInterface(IID_PPV_ARGS(pFirst->ReleaseAndGetAddressOf()));
        // Wine's enumerator hands the sinks out without adding a reference (Windows adds one): a
        // test keeps it rather than release one it was never given.
    }
    return n;
}

inline HRESULT Fire(IDispatch* pSink, DISPID dispid, DISPPARAMS* pParams) {
    return pSink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, pParams, nullptr, nullptr,
                         nullptr);
}

// ProgressChange(Progress, ProgressMax): two VT_I4 by value, last first.
inline HRESULT FireProgressChange(IDispatch* pSink, long nProgress, long nProgressMax) {
    VARIANT args[2];
    args[0].vt = VT_I4;
    args[0].lVal = nProgressMax;
    args[1].vt = VT_I4;
    args[1].lVal = nProgress;
    DISPPARAMS params = {args, nullptr, 2, 0};
    return Fire(pSink, kDispidProgressChange, &params);
}

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel) as the control
// sends it: variant references, PostData doubly indirect, Cancel a VARIANT_BOOL reference.
struct BeforeNavigate2Args {
    BeforeNavigate2Args(IDispatch* pDisp, const wchar_t* pszUrl) {
        url.vt = VT_BSTR;
        url.bstrVal = SysAllocString(pszUrl);
        flags.vt = VT_I4;
        flags.lVal = 0;
        frame.vt = VT_BSTR;
        frame.bstrVal = SysAllocString(L"");
        postDataInner.vt = VT_EMPTY;
        postData.vt = VT_BYREF | VT_VARIANT;
        postData.pvarVal = &postDataInner;
        headers.vt = VT_BSTR;
        headers.bstrVal = SysAllocString(L"");
        VARIANT* refs[] = {&headers, &postData, &frame, &flags, &url};
        args[0].vt = VT_BYREF | VT_BOOL;
        args[0].pboolVal = &cancel;
        for (int i = 0; i < 5; ++i) {
            args[1 + i].vt = VT_BYREF | VT_VARIANT;
            args[1 + i].pvarVal = refs[i];
        }
        args[6].vt = VT_DISPATCH;
        args[6].pdispVal = pDisp;
        params = {args, nullptr, 7, 0};
    }
    BeforeNavigate2Args(const BeforeNavigate2Args&) = delete;
    BeforeNavigate2Args& operator=(const BeforeNavigate2Args&) = delete;
    ~BeforeNavigate2Args() {
        VariantClear(&url);
        VariantClear(&frame);
        VariantClear(&headers);
        VariantClear(&postDataInner);
    }

    HRESULT FireAt(IDispatch* pSink) { return Fire(pSink, kDispidBeforeNavigate2, &params); }

    VARIANT url, flags, frame, postData, postDataInner, headers;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[7];
    DISPPARAMS params;
};
