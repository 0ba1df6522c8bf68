#include <winsock2.h>

#include "ExitPage.h"
#include "Internet.h"
#include "KovaltDlg.h"
#include "OpenPage.h"
#include "config.h"

namespace {

const wchar_t kExitPageUrl[] = KOVALT_CONTENT_SERVER L"/kovalt/iestart.html";

// Connecting, sending the request and each wait for reply data give up after this long, so that a
// content server that is down, refuses or never answers holds the first appearance of the window
// for about 3 s at most (reply headers, then a body that never comes).
constexpr DWORD kNetworkTimeoutMs = 1500;

constexpr DWORD kFadeMs = 300;

void FadeOut(HWND hWnd) {
    ::AnimateWindow(hWnd, kFadeMs, AW_HIDE | AW_BLEND);
}

} // namespace

CString ExitPageAddress(const char* pszReply, UINT nCodePage) {
    int nBytes = lstrlenA(pszReply);
    int nChars = ::MultiByteToWideChar(nCodePage, 0, pszReply, nBytes, nullptr, 0);
    if (nChars <= 4)
        return CString();
    CString strText;
    ::MultiByteToWideChar(nCodePage, 0, pszReply, nBytes, strText.GetBuffer(nChars), nChars);
    strText.ReleaseBuffer(nChars);
    return strText.Mid(4);
}

CString ShellSafeUrl(const CString& strUrl) {
    CString strSafe;
    for (int i = 0; i < strUrl.GetLength(); ++i) {
        switch (strUrl[i]) {
        case L'"':
            strSafe += L"%22";
            break;
        case L' ':
            strSafe += L"%20";
            break;
        case L'\t':
            strSafe += L"%09";
            break;
        default:
            strSafe += strUrl[i];
        }
    }
    return strSafe;
}

BOOL CKovaltDlg::CheckNetwork() {
    WSADATA wsaData;
    if (::WSAStartup(MAKEWORD(2, 2), &wsaData) != 0)
        return m_bOnline;
    m_bOnline = ::gethostbyname(KOVALT_PROBE_HOST) != nullptr;
    ::WSACleanup();
    return m_bOnline;
}

void CKovaltDlg::FetchExitPage() {
    if (!CheckNetwork())
        return;
    // One byte short of the buffer, so that the text always ends inside it.
    char szReply[1024] = {};
    CInternetSession session(nullptr, 1, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    for (DWORD dwOption :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        session.SetOption(dwOption, kNetworkTimeoutMs);
    if (auto pFile =
            session.OpenURL(kExitPageUrl, 0, INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_KEEP_CONNECTION)) {
        pFile->Read(szReply, sizeof szReply - 1);
        pFile->Close();
    }
    session.Close();

    CString strAddress = ExitPageAddress(szReply, CP_ACP);
    m_bHasExitPage = !strAddress.IsEmpty();
    if (m_bHasExitPage)
        m_strExitPageUrl = L"http://" + strAddress;
}

void CKovaltDlg::CloseLauncher() {
    // Whatever state the panes are in: hidden, or without a window when the control was not created.
    for (HWND hWnd : {m_hWnd, m_wndMainPane.m_hWnd, m_wndLeftAd.m_hWnd, m_wndRightAd.m_hWnd})
        FadeOut(hWnd);
    CheckNetwork();
    if (m_bOnline && m_bHasExitPage)
        OpenPage(ShellSafeUrl(m_strExitPageUrl));
    CDialog::OnOK();
}
