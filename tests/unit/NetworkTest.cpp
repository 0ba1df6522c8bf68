#include "InternetTestServer.h" // Winsock before <windows.h>
#include "DialogRunner.h"
#include "ExitPage.h"
#include "KovaltDlg.h"
#include "config.h"

#include <gtest/gtest.h>
#include <string>

// The test build's content server is 127.0.0.1:8391 and its probe host always resolves.
namespace {

const USHORT kContentPort = 8391;
const UINT kWestern = 1252;
const UINT kChinese = 936; // GBK: two bytes for each Chinese character

std::string Repeat(char ch, size_t n) {
    return std::string(n, ch);
}
std::wstring Repeat(wchar_t ch, size_t n) {
    return std::wstring(n, ch);
}

} // namespace

TEST(ExitPageAddress, IsTheTextAfterItsFirstFourCharacters) {
    const struct {
        const char* reply;
        UINT codePage;
        const wchar_t* address;
    } cases[] = {
        {"", kWestern, L""},
        {"abcd", kWestern, L""},
        {"abcde", kWestern, L"e"},
        {"....example.com/bye?a=1", kWestern, L"example.com/bye?a=1"},
        {"1234host/x\r\n", kWestern, L"host/x\r\n"},
        {"1234 a \"b\"\t", kWestern, L" a \"b\"\t"},
        {"1234caf\xe9.fr", kWestern, L"caf\u00e9.fr"},
        // 你好 (\304\343\272\303) then "ab": four characters in six bytes.
        {"\304\343\272\303abexample.com", kChinese, L"example.com"},
        {"\xc4\xe3\xba\xc3\xc4\xe3\xba\xc3", kChinese, L""},
        {"\xc4\xe3\xba\xc3\xc4\xe3\xba\xc3\xc4\xe3.cn", kChinese, L"\u4f60.cn"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.address, ExitPageAddress(c.reply, c.codePage)) << c.reply;
}

TEST(ShellSafeUrl, EncodesQuotesSpacesAndTabsAndNothingElse) {
    const struct {
        const wchar_t* url;
        const wchar_t* safe;
    } cases[] = {
        {L"http://example.com/bye?a=1&b=%41#top", L"http://example.com/bye?a=1&b=%41#top"},
        {L"http://a \"b\"\tc", L"http://a%20%22b%22%09c"},
        {L"http://x\" --kiosk \"y", L"http://x%22%20--kiosk%20%22y"},
        {L"http://x/\r\n", L"http://x/\r\n"},
        {L"http://\u4f60\u597d/'a'", L"http://\u4f60\u597d/'a'"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.safe, ShellSafeUrl(c.url)) << c.url;
}

TEST(CheckNetwork, FindsTheProbeHostAndRemembersIt) {
    CKovaltDlg dlg;
    EXPECT_FALSE(dlg.m_bOnline);
    EXPECT_TRUE(dlg.CheckNetwork());
    EXPECT_TRUE(dlg.m_bOnline);
}

TEST(FetchExitPage, TakesTheAddressFromTheFirstReadOfTheReply) {
    const struct {
        std::string body;
        int status;
        std::wstring url; // empty: no exit page
    } cases[] = {
        {"", 200, L""},
        {"abcd", 200, L""},
        {"abcde", 200, L"http://e"},
        {"1234example.com/bye?a=1", 200, L"http://example.com/bye?a=1"},
        {std::string("1234a.com\0/after-the-zero", 25), 200, L"http://a.com"},
        {"1234" + Repeat('x', 1496), 200, L"http://" + Repeat(L'x', 1019)},
        {"1234" + Repeat('y', 1020), 200, L"http://" + Repeat(L'y', 1019)},
        {"1234host/x\r\n", 200, L"http://host/x\r\n"},
        {"1234a \"b\"\tc", 200, L"http://a \"b\"\tc"},
        {"1234error.example/page", 404, L"http://error.example/page"},
    };
    CTestServer server(kContentPort);
    ASSERT_EQ(kContentPort, server.Port());
    for (const auto& c : cases) {
        server.Reply(c.body, c.status);
        CKovaltDlg dlg;
        dlg.FetchExitPage();
        EXPECT_TRUE(dlg.m_bOnline);
        EXPECT_EQ(!c.url.empty(), dlg.m_bHasExitPage != FALSE) << c.body;
        EXPECT_STREQ(c.url.c_str(), dlg.m_strExitPageUrl) << c.body;
    }
    auto requests = server.Requests();
    ASSERT_EQ(std::size(cases), requests.size());
    for (const auto& r : requests)
        EXPECT_EQ(0u, r.find("GET /kovalt/iestart.html HTTP/1.1\r\n")) << r;
}

TEST(FetchExitPage, NoExitPageWhenTheContentServerIsDownOrSilent) {
    {
        CKovaltDlg dlg;
        dlg.FetchExitPage(); // nothing listens on the port
        EXPECT_TRUE(dlg.m_bOnline);
        EXPECT_FALSE(dlg.m_bHasExitPage);
        EXPECT_STREQ(L"", dlg.m_strExitPageUrl);
    }
    CTestServer server(kContentPort);
    server.Stall();
    CKovaltDlg dlg;
    dlg.FetchExitPage();
    EXPECT_EQ(1u, server.Requests().size());
    EXPECT_FALSE(dlg.m_bHasExitPage);
}

TEST(CloseLauncher, HidesTheWindowAndItsPanesAndEndsTheDialogWithIdOk) {
    bool bChecked = false;
    INT_PTR nResult = RunDialog([&](CKovaltDlg& dlg) {
        ASSERT_TRUE(dlg.IsWindowVisible());
        ASSERT_NE(nullptr, dlg.m_wndMainPane.m_hWnd);
        dlg.CloseLauncher();
        for (HWND hWnd :
             {dlg.m_hWnd, dlg.m_wndMainPane.m_hWnd, dlg.m_wndLeftAd.m_hWnd, dlg.m_wndRightAd.m_hWnd})
            EXPECT_FALSE(IsWindowVisible(hWnd));
        EXPECT_TRUE(dlg.m_bOnline) << "probed again";
        bChecked = true;
    });
    EXPECT_TRUE(bChecked);
    EXPECT_EQ(IDOK, nResult);
}
