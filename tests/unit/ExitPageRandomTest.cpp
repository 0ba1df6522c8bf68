#include "ExitPage.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

// Replies of every shape, from a fixed seed so that a failure can be replayed: whatever the server
// sends, the address keeps within the reply and never carries a character that could break out of
// the browser's command line.
TEST(ExitPage, RandomRepliesGiveBoundedShellSafeAddresses) {
    std::mt19937 random(20261211);
    const char kInteresting[] = {'"', ' ', '\t', '\r',   '\n',   '%',    '\\',
                                 '/', ':', 'a',  '\x80', '\xA1', '\xFE', '\xFF'};
    for (int i = 0; i < 2000; ++i) {
        std::string reply(random() % 1200, '\0');
        for (char& c : reply)
            c = (random() % 3 == 0) ? kInteresting[random() % sizeof kInteresting]
                                    : static_cast<char>(random() % 256);
        reply.resize(std::min<size_t>(reply.size(), 1023)); // the launcher reads at most 1023 bytes
        for (UINT nCodePage : {1252u, 936u}) {
            SCOPED_TRACE("reply " + std::to_string(i) + ", code page " + std::to_string(nCodePage));
            CString strAddress = ExitPageAddress(reply.c_str(), nCodePage);
            size_t nText = strlen(reply.c_str());
            ASSERT_LE(static_cast<size_t>(strAddress.GetLength()), nText);
            if (nText <= 4) {
                ASSERT_TRUE(strAddress.IsEmpty());
            }
            CString strSafe = ShellSafeUrl(strAddress);
            for (int k = 0; k < strSafe.GetLength(); ++k)
                ASSERT_TRUE(strSafe[k] != L'"' && strSafe[k] != L' ' && strSafe[k] != L'\t') << k;
            ASSERT_LE(strSafe.GetLength(), 3 * strAddress.GetLength());
        }
    }
}
