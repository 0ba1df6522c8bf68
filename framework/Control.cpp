#include "Control.h"
#include "Wnd.h"

namespace {

// References nested deeper than this are taken as malformed.
constexpr int kMaxVariantDepth = 16;

// The platform's OLE, once per thread, for programs that did not enable the control container.
void EnsureOleInitialized() {
    static thread_local bool t_bDone = false;
    if (!t_bDone)
        t_bDone = SUCCEEDED(::OleInitialize(nullptr));
}

} // namespace

// ---- Event arguments ------------------------------------------------------------------------------

VARIANT* UnwrapVariant(VARIANT* pv) {
    for (int i = 0; i < kMaxVariantDepth && pv->vt == (VT_BYREF | VT_VARIANT) && pv->pvarVal; ++i)
        pv = pv->pvarVal;
    return pv;
}

CString StringFromVariant(const VARIANT* pv) {
    if (!pv)
        return CString();
    VARIANT* p = UnwrapVariant(const_cast<VARIANT*>(pv));
    if (p->vt == VT_BSTR)
        return CString(p->bstrVal);
    VARIANT v;
    ::VariantInit(&v);
    CString str;
    if (SUCCEEDED(::VariantChangeType(&v, p, 0, VT_BSTR)))
        str = v.bstrVal;
    ::VariantClear(&v);
    return str;
}

EventArg<long>::EventArg(VARIANT* pv) {
    if (!pv)
        return;
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(::VariantChangeType(&v, UnwrapVariant(pv), 0, VT_I4)))
        m_n = v.lVal;
}

EventArg<IDispatch*>::EventArg(VARIANT* pv) {
    VARIANT* p = pv ? UnwrapVariant(pv) : nullptr;
    if (p && p->vt == VT_DISPATCH)
        m_p = p->pdispVal;
    else if (p && p->vt == (VT_BYREF | VT_DISPATCH) && p->ppdispVal)
        m_p = *p->ppdispVal;
}

EventArg<BOOL*>::EventArg(VARIANT* pv) {
    VARIANT* p = pv ? UnwrapVariant(pv) : nullptr;
    if (p && p->vt == (VT_BYREF | VT_BOOL) && p->pboolVal) {
        m_pTarget = p->pboolVal;
        m_b = *m_pTarget != VARIANT_FALSE;
    }
}

EventArg<BOOL*>::~EventArg() {
    if (m_pTarget)
        *m_pTarget = m_b ? VARIANT_TRUE : VARIANT_FALSE;
}

// ---- Event sink -----------------------------------------------------------------------------------

// Advised on the control's event interface; forwards each event to the parent's event sink map.
// The control may hold it after the site has closed, so the site disconnects it first.
class CEventSink final : public IDispatch {
  public:
    CEventSink(CWnd* pParent, UINT nID, REFIID iid) : m_pParent(pParent), m_nID(nID), m_iid(iid) {}
    CEventSink(const CEventSink&) = delete;
    CEventSink& operator=(const CEventSink&) = delete;

    void Disconnect() { m_pParent = nullptr; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != m_iid) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_nRefs); }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG n = ::InterlockedDecrement(&m_nRefs);
        if (n == 0)
            delete this;
        return n;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* pn) override {
        if (pn)
            *pn = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        if (m_pParent)
            m_pParent->DispatchEvent(m_nID, dispid, pParams);
        return S_OK;
    }

  private:
    ~CEventSink() = default;

    LONG m_nRefs = 1;
    CWnd* m_pParent;
    UINT m_nID;
    IID m_iid;
};

bool CWnd::DispatchEvent(UINT nCtrlID, DISPID dispid, DISPPARAMS* pParams) {
    for (const EventSinkMap* pMap = GetEventSinkMap(); pMap; pMap = pMap->pBaseMap) {
        for (size_t i = 0; i < pMap->nCount; ++i) {
            const EventSinkEntry& e = pMap->pEntries[i];
            if (e.nCtrlID == nCtrlID && e.dispid == dispid) {
                e.pfn(this, pParams);
                return true;
            }
        }
    }
    return false;
}

// ---- Hosting --------------------------------------------------------------------------------------

BOOL CWnd::CreateControl(REFCLSID clsid, LPCWSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID) {
    if (m_hWnd || !pParentWnd || !pParentWnd->m_hWnd)
        return FALSE;
    EnsureOleInitialized();
    auto* pSite = new COleControlSite(pParentWnd, nID, rect);
    HWND hWnd = pSite->CreateControl(clsid);
    if (!hWnd) {
        pSite->Close();
        pSite->Release();
        return FALSE;
    }
    m_pCtrlSite = pSite;
    m_hWnd = hWnd;
    // The control's window stands for the control among the parent's children.
    ::SetWindowLongPtrW(hWnd, GWLP_ID, nID);
    ::SetWindowLongW(hWnd, GWL_STYLE, ::GetWindowLongW(hWnd, GWL_STYLE) | WS_CHILD | (dwStyle & ~WS_VISIBLE));
    if (pszWindowName)
        ::SetWindowTextW(hWnd, pszWindowName);
    ::ShowWindow(hWnd, (dwStyle & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    return TRUE;
}

void CWnd::DestroyControl() {
    if (!m_pCtrlSite)
        return;
    m_pCtrlSite->Close();
    m_pCtrlSite->Release();
    m_pCtrlSite = nullptr;
    m_hWnd = nullptr;
}

COleControlSite::COleControlSite(CWnd* pParent, UINT nID, const RECT& rect)
    : m_pParent(pParent), m_nID(nID), m_rect(rect) {}

HWND COleControlSite::CreateControl(REFCLSID clsid) {
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_pObject)))) {
        m_pObject = nullptr;
        return nullptr;
    }
    m_pObject->SetClientSite(this);
    IPersistStreamInit* pInit = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&pInit)))) {
        pInit->InitNew();
        pInit->Release();
    }
    if (FAILED(m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_pParent->m_hWnd, &m_rect)))
        return nullptr;
    HWND hWnd = nullptr;
    IOleInPlaceObject* pInPlace = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&pInPlace)))) {
        pInPlace->GetWindow(&hWnd);
        pInPlace->Release();
    }
    if (hWnd)
        Advise();
    return hWnd;
}

// Connects the sink to the control's default event interface.
void COleControlSite::Advise() {
    IID iid;
    IProvideClassInfo2* pInfo = nullptr;
    if (FAILED(m_pObject->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pInfo))))
        return;
    HRESULT hr = pInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid);
    pInfo->Release();
    IConnectionPointContainer* pContainer = nullptr;
    if (FAILED(hr) || FAILED(m_pObject->QueryInterface(IID_IConnectionPointContainer,
                                                       reinterpret_cast<void**>(&pContainer))))
        return;
    hr = pContainer->FindConnectionPoint(iid, &m_pConnection);
    pContainer->Release();
    if (FAILED(hr)) {
        m_pConnection = nullptr;
        return;
    }
    m_pSink = new CEventSink(m_pParent, m_nID, iid);
    if (FAILED(m_pConnection->Advise(m_pSink, &m_dwCookie))) {
        m_pConnection->Release();
        m_pConnection = nullptr;
    }
}

void COleControlSite::Close() {
    if (m_pConnection) {
        m_pConnection->Unadvise(m_dwCookie);
        m_pConnection->Release();
        m_pConnection = nullptr;
    }
    if (m_pSink) {
        m_pSink->Disconnect();
        m_pSink->Release();
        m_pSink = nullptr;
    }
    if (!m_pObject)
        return;
    IOleInPlaceObject* pInPlace = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&pInPlace)))) {
        pInPlace->InPlaceDeactivate();
        pInPlace->Release();
    }
    m_pObject->Close(OLECLOSE_NOSAVE);
    m_pObject->SetClientSite(nullptr);
    m_pObject->Release();
    m_pObject = nullptr;
}

HRESULT COleControlSite::Invoke(DISPID dispid, VARIANT* pArgs, UINT nArgs) {
    if (!m_pObject)
        return E_UNEXPECTED;
    IDispatch* pDisp = nullptr;
    HRESULT hr = m_pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDisp));
    if (FAILED(hr))
        return hr;
    DISPPARAMS params = {pArgs, nullptr, nArgs, 0};
    hr = pDisp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                       nullptr);
    pDisp->Release();
    return hr;
}

void COleControlSite::PackArg(VARIANT& v, const wchar_t* psz) {
    v.vt = VT_BSTR;
    v.bstrVal = ::SysAllocString(psz ? psz : L"");
}

void COleControlSite::PackArg(VARIANT& v, VARIANT* pRef) {
    if (pRef) {
        v.vt = VT_BYREF | VT_VARIANT;
        v.pvarVal = pRef;
    } else {
        v.vt = VT_ERROR;
        v.scode = DISP_E_PARAMNOTFOUND;
    }
}

// ---- COM plumbing of the site ---------------------------------------------------------------------

STDMETHODIMP COleControlSite::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) COleControlSite::AddRef() {
    return ::InterlockedIncrement(&m_nRefs);
}

STDMETHODIMP_(ULONG) COleControlSite::Release() {
    ULONG n = ::InterlockedDecrement(&m_nRefs);
    if (n == 0)
        delete this;
    return n;
}

STDMETHODIMP COleControlSite::SaveObject() {
    return S_OK;
}

STDMETHODIMP COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::GetContainer(IOleContainer** ppContainer) {
    if (ppContainer)
        *ppContainer = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleControlSite::ShowObject() {
    return S_OK;
}
STDMETHODIMP COleControlSite::OnShowWindow(BOOL) {
    return S_OK;
}
STDMETHODIMP COleControlSite::RequestNewObjectLayout() {
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_pParent->m_hWnd;
    return S_OK;
}

STDMETHODIMP COleControlSite::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}
STDMETHODIMP COleControlSite::CanInPlaceActivate() {
    return S_OK;
}
STDMETHODIMP COleControlSite::OnInPlaceActivate() {
    return S_OK;
}
STDMETHODIMP COleControlSite::OnUIActivate() {
    return S_OK;
}

STDMETHODIMP COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT prcPos, LPRECT prcClip,
                                               LPOLEINPLACEFRAMEINFO pFrameInfo) {
    if (ppFrame) {
        *ppFrame = this;
        AddRef();
    }
    if (ppDoc)
        *ppDoc = nullptr;
    if (prcPos)
        *prcPos = m_rect;
    if (prcClip)
        *prcClip = m_rect;
    if (pFrameInfo) {
        pFrameInfo->fMDIApp = FALSE;
        pFrameInfo->hwndFrame = ::GetAncestor(m_pParent->m_hWnd, GA_ROOT);
        pFrameInfo->haccel = nullptr;
        pFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::Scroll(SIZE) {
    return E_NOTIMPL;
}
STDMETHODIMP COleControlSite::OnUIDeactivate(BOOL) {
    return S_OK;
}
STDMETHODIMP COleControlSite::OnInPlaceDeactivate() {
    return S_OK;
}
STDMETHODIMP COleControlSite::DiscardUndoState() {
    return S_OK;
}
STDMETHODIMP COleControlSite::DeactivateAndUndo() {
    return S_OK;
}

// The control asks for another place: grant it.
STDMETHODIMP COleControlSite::OnPosRectChange(LPCRECT prcPos) {
    if (!prcPos || !m_pObject)
        return E_INVALIDARG;
    m_rect = *prcPos;
    IOleInPlaceObject* pInPlace = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&pInPlace)))) {
        pInPlace->SetObjectRects(&m_rect, &m_rect);
        pInPlace->Release();
    }
    return S_OK;
}

// The container has no tool space, menus, status bar or accelerators to share.
STDMETHODIMP COleControlSite::GetBorder(LPRECT) {
    return INPLACE_E_NOTOOLSPACE;
}
STDMETHODIMP COleControlSite::RequestBorderSpace(LPCBORDERWIDTHS) {
    return INPLACE_E_NOTOOLSPACE;
}
STDMETHODIMP COleControlSite::SetBorderSpace(LPCBORDERWIDTHS) {
    return S_OK;
}
STDMETHODIMP COleControlSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) {
    return S_OK;
}
STDMETHODIMP COleControlSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
    return S_OK;
}
STDMETHODIMP COleControlSite::SetMenu(HMENU, HOLEMENU, HWND) {
    return S_OK;
}
STDMETHODIMP COleControlSite::RemoveMenus(HMENU) {
    return S_OK;
}
STDMETHODIMP COleControlSite::SetStatusText(LPCOLESTR) {
    return S_OK;
}
STDMETHODIMP COleControlSite::EnableModeless(BOOL) {
    return S_OK;
}
STDMETHODIMP COleControlSite::TranslateAccelerator(LPMSG, WORD) {
    return S_FALSE;
}
