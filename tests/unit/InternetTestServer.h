#pragma once
#include <winsock2.h>
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A one-connection-at-a-time HTTP server on 127.0.0.1, inside the test process: it answers every
// request with the same reply, or accepts and never answers.
class CTestServer {
  public:
    // Port 0 takes any free port.
    explicit CTestServer(USHORT nPort = 0);
    ~CTestServer();

    USHORT Port() const { return m_nPort; }
    std::wstring Url(const wchar_t* pszPath) const;

    // The reply's body, sent whole after a status line and headers.
    void Reply(const std::string& strBody, int nStatus = 200);
    void Stall();
    // Request heads received so far, each up to its blank line.
    std::vector<std::string> Requests() const;

  private:
    void Serve();
    void Answer(SOCKET s);

    SOCKET m_listener = INVALID_SOCKET;
    USHORT m_nPort = 0;
    HANDLE m_hStop;
    mutable std::mutex m_lock;
    std::string m_strReply;
    bool m_bStall = false;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};
