#include "String.h"

#include <gtest/gtest.h>

TEST(CString, ReleaseBufferTakesTextUpToFirstZero) {
    CString s;
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"abc");
    s.ReleaseBuffer();
    EXPECT_EQ(3, s.GetLength());
    EXPECT_STREQ(L"abc", s);
}

TEST(CString, ReleaseBufferWithoutZeroKeepsWholeBuffer) {
    CString s;
    wchar_t* p = s.GetBuffer(4);
    wmemcpy(p, L"wxyz", 4);
    s.ReleaseBuffer();
    EXPECT_STREQ(L"wxyz", s);
}

TEST(CString, ReleaseBufferWithExplicitLength) {
    CString s(L"keep");
    wcscpy(s.GetBuffer(8), L"abcdefg");
    s.ReleaseBuffer(2);
    EXPECT_STREQ(L"ab", s);
}

TEST(CString, SearchAndSlices) {
    const CString path(L"C:\\Games\\Kovalt\\Kovalt.exe");
    EXPECT_EQ(15, path.ReverseFind(L'\\'));
    EXPECT_EQ(2, path.Find(L'\\'));
    EXPECT_EQ(8, path.Find(L'\\', 3));
    EXPECT_EQ(-1, path.Find(L'/'));
    EXPECT_STREQ(L"C:\\Games\\Kovalt\\", path.Left(path.ReverseFind(L'\\') + 1));
    EXPECT_STREQ(L"Kovalt.exe", path.Mid(16));
    EXPECT_STREQ(L"Games", path.Mid(3, 5));
    EXPECT_STREQ(L"", path.Left(-1));
    EXPECT_STREQ(L"", path.Mid(99));
}

TEST(CString, ConcatenationAndComparison) {
    CString s = CString(L"http://") + L"127.0.0.1" + CString(L"/kovalt/");
    EXPECT_STREQ(L"http://127.0.0.1/kovalt/", s);
    EXPECT_EQ(0, s.CompareNoCase(L"HTTP://127.0.0.1/KOVALT/"));
    EXPECT_NE(0, s.CompareNoCase(L"http://127.0.0.1/"));
    EXPECT_TRUE(s == CString(L"http://127.0.0.1/kovalt/"));
    CString n(nullptr);
    EXPECT_TRUE(n.IsEmpty());
}
