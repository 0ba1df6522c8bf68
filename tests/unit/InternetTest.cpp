#include "InternetTestServer.h"
#include "Internet.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const DWORD kBinary = INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_KEEP_CONNECTION;

std::string ReadOnce(CInternetFile& file) {
    char buf[256] = {};
    UINT n = file.Read(buf, sizeof buf - 1);
    return std::string(buf, n);
}

// The value of a header line in a request head.
std::string Header(const std::string& head, const std::string& name) {
    size_t pos = head.find("\r\n" + name + ": ");
    if (pos == std::string::npos)
        return "(none)";
    pos += name.size() + 4;
    return head.substr(pos, head.find("\r\n", pos) - pos);
}

} // namespace

TEST(InternetSession, OpenUrlSendsOneGetUnderTheProgramsNameAndReadsTheReply) {
    CTestServer server;
    server.Reply("hello, world");
    CInternetSession session;
    auto pFile = session.OpenURL(server.Url(L"/kovalt/iestart.html?a=1").c_str(), 0, kBinary);
    ASSERT_NE(nullptr, pFile);
    EXPECT_EQ("hello, world", ReadOnce(*pFile));
    pFile->Close();

    auto requests = server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ(0u, requests[0].find("GET /kovalt/iestart.html?a=1 HTTP/1.1\r\n")) << requests[0];
    EXPECT_EQ("internet_tests", Header(requests[0], "User-Agent"));
}

TEST(InternetSession, SendsItsOwnAgentNameWhenGivenOne) {
    CTestServer server;
    server.Reply("x");
    CInternetSession session(L"Agent/2");
    ASSERT_NE(nullptr, session.OpenURL(server.Url(L"/").c_str()));
    auto requests = server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("Agent/2", Header(requests[0], "User-Agent"));
}

TEST(InternetSession, AnErrorPageIsAReplyLikeAnyOther) {
    CTestServer server;
    server.Reply("gone away", 404);
    CInternetSession session;
    auto pFile = session.OpenURL(server.Url(L"/missing").c_str(), 0, kBinary);
    ASSERT_NE(nullptr, pFile);
    EXPECT_EQ("gone away", ReadOnce(*pFile));
}

TEST(InternetSession, NothingListeningOpensNothing) {
    USHORT nPort;
    {
        CTestServer closed;
        nPort = closed.Port();
    }
    CInternetSession session;
    std::wstring url = L"http://127.0.0.1:" + std::to_wstring(nPort) + L"/x";
    EXPECT_EQ(nullptr, session.OpenURL(url.c_str(), 0, kBinary));
}

// Without the time-outs reaching the connection this would wait for good.
TEST(InternetSession, ASilentServerIsGivenUpAfterTheSessionsTimeouts) {
    CTestServer server;
    server.Stall();
    CInternetSession session;
    for (DWORD dwOption :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        EXPECT_TRUE(session.SetOption(dwOption, 300));
    EXPECT_EQ(nullptr, session.OpenURL(server.Url(L"/x").c_str(), 0, kBinary));
    EXPECT_EQ(1u, server.Requests().size()) << "the request went out before the wait";
}

TEST(InternetSession, OnlyWebAddressesOpen) {
    CInternetSession session;
    for (const wchar_t* pszUrl :
         {L"ftp://127.0.0.1/x", L"file:///C:/windows/win.ini", L"not an address", L""})
        EXPECT_EQ(nullptr, session.OpenURL(pszUrl)) << pszUrl;
}
