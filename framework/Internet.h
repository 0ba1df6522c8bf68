#pragma once
#include <windows.h>
#include <wininet.h>

#include <memory>
#include <utility>
#include <vector>

// One WinINet handle, closed with the object.
class CInternetHandle {
  public:
    CInternetHandle() = default;
    explicit CInternetHandle(HINTERNET h) : m_h(h) {}
    CInternetHandle(CInternetHandle&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    CInternetHandle(const CInternetHandle&) = delete;
    CInternetHandle& operator=(const CInternetHandle&) = delete;
    ~CInternetHandle() { Close(); }

    operator HINTERNET() const { return m_h; }
    void Close();

  private:
    HINTERNET m_h = nullptr;
};

// An address opened by CInternetSession::OpenURL: the request and the connection it runs on.
class CInternetFile {
  public:
    CInternetFile(CInternetHandle&& hConnect, CInternetHandle&& hRequest)
        : m_hConnect(std::move(hConnect)), m_hRequest(std::move(hRequest)) {}

    // Bytes read into pBuffer: at most nCount, 0 at the end of the data or when the read fails.
    UINT Read(void* pBuffer, UINT nCount);
    void Close();

  private:
    CInternetHandle m_hConnect; // declared first: the request goes before its connection
    CInternetHandle m_hRequest;
};

// A WinINet session. Without an agent name the application's name (the program's file name
// without extension) is sent.
class CInternetSession {
  public:
    explicit CInternetSession(const wchar_t* pstrAgent = nullptr, DWORD_PTR dwContext = 1,
                              DWORD dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG,
                              const wchar_t* pstrProxyName = nullptr,
                              const wchar_t* pstrProxyBypass = nullptr, DWORD dwFlags = 0);

    operator HINTERNET() const { return m_hSession; }

    // A DWORD option of the session, such as INTERNET_OPTION_RECEIVE_TIMEOUT (milliseconds). The
    // time-outs also go to every connection OpenURL makes.
    BOOL SetOption(DWORD dwOption, DWORD dwValue);

    // One request for an http or https address; nullptr when it cannot be sent or no reply header
    // arrives. Any HTTP status counts as a reply.
    std::unique_ptr<CInternetFile> OpenURL(const wchar_t* pstrURL, DWORD_PTR dwContext = 1,
                                           DWORD dwFlags = INTERNET_FLAG_TRANSFER_ASCII,
                                           const wchar_t* pstrHeaders = nullptr);
    void Close() { m_hSession.Close(); }

  private:
    CInternetHandle m_hSession;
    std::vector<std::pair<DWORD, DWORD>> m_timeouts;
};
