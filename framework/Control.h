#pragma once
#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
#include <ocidl.h>

#include <cstddef>
#include <tuple>
#include <utility>

#include "String.h"

class CWnd;

// ---- Event sink map -------------------------------------------------------------------------------
// A parent window's static table binding events of its hosted controls, keyed by control id and
// DISPID, to member handlers. The thunk converts the event's DISPPARAMS to the handler's parameters.
using EventThunk = void (*)(CWnd* pParent, DISPPARAMS* pParams);

struct EventSinkEntry {
    UINT nCtrlID;
    DISPID dispid;
    EventThunk pfn;
};

struct EventSinkMap {
    const EventSinkMap* pBaseMap;
    const EventSinkEntry* pEntries;
    size_t nCount;
};

// Follows VT_BYREF|VT_VARIANT references to the variant that holds the value.
VARIANT* UnwrapVariant(VARIANT* pv);
// The text a variant holds (strings by value or reference, numbers converted); empty otherwise.
CString StringFromVariant(const VARIANT* pv);

// One converted argument, alive for the duration of the handler call. Arguments missing from the
// event (fewer than the handler takes) or of an unusable type arrive as neutral values.
template <class P> struct EventArg;

template <> struct EventArg<long> {
    explicit EventArg(VARIANT* pv);
    long Get() const { return m_n; }
    long m_n = 0;
};

template <> struct EventArg<VARIANT*> {
    explicit EventArg(VARIANT* pv) : m_pv(pv ? UnwrapVariant(pv) : &m_empty) {}
    EventArg(const EventArg&) = delete;
    EventArg& operator=(const EventArg&) = delete;
    VARIANT* Get() const { return m_pv; }
    VARIANT m_empty = {};
    VARIANT* m_pv;
};

template <> struct EventArg<IDispatch*> {
    explicit EventArg(VARIANT* pv);
    IDispatch* Get() const { return m_p; }
    IDispatch* m_p = nullptr;
};

template <> struct EventArg<const wchar_t*> {
    explicit EventArg(VARIANT* pv) : m_str(StringFromVariant(pv)) {}
    const wchar_t* Get() const { return m_str; }
    CString m_str;
};

// A BOOL the handler may set; written back to the caller's VARIANT_BOOL after the call.
template <> struct EventArg<BOOL*> {
    explicit EventArg(VARIANT* pv);
    EventArg(const EventArg&) = delete;
    EventArg& operator=(const EventArg&) = delete;
    ~EventArg();
    BOOL* Get() { return &m_b; }
    BOOL m_b = FALSE;
    VARIANT_BOOL* m_pTarget = nullptr;
};

// The argument at position i in declaration order: DISPPARAMS holds them last first.
inline VARIANT* EventArgAt(DISPPARAMS* pParams, size_t i) {
    return pParams && i < pParams->cArgs ? &pParams->rgvarg[pParams->cArgs - 1 - i] : nullptr;
}

template <auto F> struct EventThunkOf;

template <class T, class... P, void (T::*F)(P...)> struct EventThunkOf<F> {
    static void Call(CWnd* p, DISPPARAMS* pParams) {
        Call(static_cast<T*>(p), pParams, std::index_sequence_for<P...>());
    }

  private:
    template <size_t... I>
    static void Call(T* pT, [[maybe_unused]] DISPPARAMS* pParams, std::index_sequence<I...>) {
        [[maybe_unused]] std::tuple<EventArg<P>...> args(EventArgAt(pParams, I)...);
        (pT->*F)(std::get<I>(args).Get()...);
    }
};

template <UINT ID, DISPID D, auto F> constexpr EventSinkEntry OnEvent() {
    return {ID, D, &EventThunkOf<F>::Call};
}

// ---- Control site ---------------------------------------------------------------------------------
class CEventSink;

// The container's side of one hosted control: its client site, in-place site and in-place frame.
// Owned by the CWnd that wraps the control's window; Close() deactivates the control, cuts the event
// connection and lets go of it.
class COleControlSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
  public:
    COleControlSite(CWnd* pParent, UINT nID, const RECT& rect);
    COleControlSite(const COleControlSite&) = delete;
    COleControlSite& operator=(const COleControlSite&) = delete;

    // Instantiates and activates the control in place; the window of the activated control, or null.
    HWND CreateControl(REFCLSID clsid);
    void Close();

    // Calls a method of the control: strings go as BSTR, VARIANT* as references, a null VARIANT* as
    // a missing optional argument.
    template <class... A> HRESULT InvokeMethod(DISPID dispid, A... args) {
        VARIANT v[sizeof...(A) + 1] = {}; // the extra slot keeps the array non-empty
        size_t i = sizeof...(A);
        (PackArg(v[--i], args), ...);
        HRESULT hr = Invoke(dispid, v, static_cast<UINT>(sizeof...(A)));
        for (VARIANT& x : v)
            VariantClear(&x);
        return hr;
    }

    IUnknown* GetControl() const { return m_pObject; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL) override;
    STDMETHODIMP RequestNewObjectLayout() override;
    // IOleWindow (shared by the in-place site and the frame: both are the parent window)
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT prcPos,
                                  LPRECT prcClip, LPOLEINPLACEFRAMEINFO pFrameInfo) override;
    STDMETHODIMP Scroll(SIZE) override;
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT prcPos) override;
    // IOleInPlaceUIWindow, IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override;
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
    STDMETHODIMP RemoveMenus(HMENU) override;
    STDMETHODIMP SetStatusText(LPCOLESTR) override;
    STDMETHODIMP EnableModeless(BOOL) override;
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override;

  private:
    ~COleControlSite() = default;
    HRESULT Invoke(DISPID dispid, VARIANT* pArgs, UINT nArgs);
    void Advise();

    static void PackArg(VARIANT& v, const wchar_t* psz);
    static void PackArg(VARIANT& v, VARIANT* pRef);

    LONG m_nRefs = 1;
    CWnd* m_pParent;
    UINT m_nID;
    RECT m_rect;
    IOleObject* m_pObject = nullptr;
    CEventSink* m_pSink = nullptr;
    IConnectionPoint* m_pConnection = nullptr;
    DWORD m_dwCookie = 0;
};
