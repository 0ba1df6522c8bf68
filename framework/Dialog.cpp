#include "Dialog.h"
#include "App.h"

#include <iterator>

namespace {
// The dialog being created on this thread: bound to its window at the first message, which
// arrives before WM_INITDIALOG (WM_SETFONT among others).
thread_local CDialog* t_pDialogInit = nullptr;

// Messages whose result a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT nMsg) {
    switch (nMsg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
} // namespace

const MessageMapEntry CDialog::messageEntries[] = {
    OnCommand<IDOK, &CDialog::OnOK>(),
    OnCommand<IDCANCEL, &CDialog::OnCancel>(),
};
const MessageMap CDialog::messageMap = {&CWnd::messageMap, messageEntries, std::size(messageEntries)};

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
    t_pDialogInit = this;
    INT_PTR nResult = ::DialogBoxParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                                        m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr, DialogProc, 0);
    t_pDialogInit = nullptr;
    return nResult;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto* pDlg = static_cast<CDialog*>(FromHandlePermanent(hWnd));
    if (!pDlg && t_pDialogInit) {
        pDlg = t_pDialogInit;
        t_pDialogInit = nullptr;
        pDlg->Bind(hWnd);
    }
    if (!pDlg)
        return FALSE;
    if (nMsg == WM_NCDESTROY) {
        pDlg->Unbind();
        return FALSE;
    }
    if (nMsg == WM_INITDIALOG)
        return pDlg->OnInitDialog();

    LRESULT lResult = 0;
    if (!pDlg->OnWndMsg(nMsg, wParam, lParam, &lResult))
        return FALSE;
    if (ReturnsDirectly(nMsg))
        return lResult;
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}
