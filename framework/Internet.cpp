#include "Internet.h"
#include "String.h"

namespace {

CString AppName() {
    wchar_t szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    CString strName = szPath;
    strName = strName.Mid(strName.ReverseFind(L'\\') + 1);
    int nDot = strName.ReverseFind(L'.');
    return nDot < 0 ? strName : strName.Left(nDot);
}

bool IsTimeout(DWORD dwOption) {
    return dwOption == INTERNET_OPTION_CONNECT_TIMEOUT || dwOption == INTERNET_OPTION_SEND_TIMEOUT ||
           dwOption == INTERNET_OPTION_RECEIVE_TIMEOUT;
}

} // namespace

void CInternetHandle::Close() {
    if (m_h)
        ::InternetCloseHandle(m_h);
    m_h = nullptr;
}

UINT CInternetFile::Read(void* pBuffer, UINT nCount) {
    DWORD dwRead = 0;
    if (!::InternetReadFile(m_hRequest, pBuffer, nCount, &dwRead))
        return 0;
    return dwRead;
}

void CInternetFile::Close() {
    m_hRequest.Close();
    m_hConnect.Close();
}

CInternetSession::CInternetSession(const wchar_t* pstrAgent, DWORD_PTR dwContext, DWORD dwAccessType,
                                   const wchar_t* pstrProxyName, const wchar_t* pstrProxyBypass,
                                   DWORD dwFlags)
    : m_hSession(::InternetOpenW(pstrAgent ? CString(pstrAgent) : AppName(), dwAccessType, pstrProxyName,
                                 pstrProxyBypass, dwFlags)) {
    if (m_hSession && dwContext)
        ::InternetSetOptionW(m_hSession, INTERNET_OPTION_CONTEXT_VALUE, &dwContext, sizeof dwContext);
}

BOOL CInternetSession::SetOption(DWORD dwOption, DWORD dwValue) {
    if (IsTimeout(dwOption))
        m_timeouts.emplace_back(dwOption, dwValue);
    return ::InternetSetOptionW(m_hSession, dwOption, &dwValue, sizeof dwValue);
}

// The connection is made here rather than by InternetOpenUrl, whose connections do not take the
// session's time-outs under Wine: a silent server would then hold the caller for good.
std::unique_ptr<CInternetFile> CInternetSession::OpenURL(const wchar_t* pstrURL, DWORD_PTR dwContext,
                                                         DWORD dwFlags, const wchar_t* pstrHeaders) {
    URL_COMPONENTSW url = {};
    url.dwStructSize = sizeof url;
    url.dwHostNameLength = url.dwUrlPathLength = url.dwExtraInfoLength = 1; // point into pstrURL
    if (!m_hSession || !::InternetCrackUrlW(pstrURL, 0, 0, &url))
        return nullptr;
    if (url.nScheme == INTERNET_SCHEME_HTTPS)
        dwFlags |= INTERNET_FLAG_SECURE;
    else if (url.nScheme != INTERNET_SCHEME_HTTP)
        return nullptr;

    CString strHost(url.lpszHostName, url.dwHostNameLength);
    CString strObject(url.lpszUrlPath, url.dwUrlPathLength + url.dwExtraInfoLength);
    CInternetHandle hConnect(::InternetConnectW(m_hSession, strHost, url.nPort, nullptr, nullptr,
                                                INTERNET_SERVICE_HTTP, 0, dwContext));
    if (!hConnect)
        return nullptr;
    for (auto [dwOption, dwValue] : m_timeouts)
        ::InternetSetOptionW(hConnect, dwOption, &dwValue, sizeof dwValue);

    CInternetHandle hRequest(::HttpOpenRequestW(hConnect, L"GET", strObject.IsEmpty() ? L"/" : strObject,
                                                nullptr, nullptr, nullptr, dwFlags, dwContext));
    DWORD dwHeadersLength = pstrHeaders ? static_cast<DWORD>(-1) : 0;
    if (!hRequest || !::HttpSendRequestW(hRequest, pstrHeaders, dwHeadersLength, nullptr, 0))
        return nullptr;
    return std::make_unique<CInternetFile>(std::move(hConnect), std::move(hRequest));
}
