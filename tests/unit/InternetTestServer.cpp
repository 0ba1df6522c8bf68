#include "InternetTestServer.h"

CTestServer::CTestServer(USHORT nPort) : m_hStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    WSADATA wsaData;
    WSAStartup(MAKEWORD(2, 2), &wsaData);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(nPort);
    bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(m_listener, 4);
    int nLength = sizeof addr;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &nLength);
    m_nPort = ntohs(addr.sin_port);
    m_thread = std::thread(&CTestServer::Serve, this);
}

CTestServer::~CTestServer() {
    SetEvent(m_hStop);
    closesocket(m_listener); // ends the accept
    m_thread.join();
    CloseHandle(m_hStop);
    WSACleanup();
}

std::wstring CTestServer::Url(const wchar_t* pszPath) const {
    return L"http://127.0.0.1:" + std::to_wstring(m_nPort) + pszPath;
}

void CTestServer::Reply(const std::string& strBody, int nStatus) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_strReply = "HTTP/1.1 " + std::to_string(nStatus) +
                 " X\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(strBody.size()) +
                 "\r\nConnection: close\r\n\r\n" + strBody;
    m_bStall = false;
}

void CTestServer::Stall() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_bStall = true;
}

std::vector<std::string> CTestServer::Requests() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_requests;
}

void CTestServer::Serve() {
    for (;;) {
        SOCKET s = accept(m_listener, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            return;
        Answer(s);
        closesocket(s);
    }
}

void CTestServer::Answer(SOCKET s) {
    std::string strHead;
    char buf[512];
    while (strHead.find("\r\n\r\n") == std::string::npos) {
        int n = recv(s, buf, sizeof buf, 0);
        if (n <= 0)
            return;
        strHead.append(buf, n);
    }
    std::string strReply;
    bool bStall;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_requests.push_back(strHead.substr(0, strHead.find("\r\n\r\n")));
        strReply = m_strReply;
        bStall = m_bStall;
    }
    if (bStall) {
        WaitForSingleObject(m_hStop, INFINITE);
        return;
    }
    send(s, strReply.data(), static_cast<int>(strReply.size()), 0);
    shutdown(s, SD_SEND);
}
