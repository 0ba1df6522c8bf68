#pragma once
#include <windows.h>
#include <string>

// UTF-16 string with the buffer protocol the Win32 "fill this buffer" calls need.
class CString {
  public:
    CString() = default;
    CString(const wchar_t* psz) : m_str(psz ? psz : L"") {}
    CString(const wchar_t* pch, int nLength) : m_str(pch, nLength) {}

    operator LPCWSTR() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    wchar_t operator[](int i) const { return m_str[i]; }

    // A writable buffer of at least nMinLength characters plus a terminator.
    wchar_t* GetBuffer(int nMinLength);
    // Ends a GetBuffer: the length becomes nNewLength, or the text up to the first zero when -1.
    void ReleaseBuffer(int nNewLength = -1);

    CString& operator=(const wchar_t* psz);
    CString& operator+=(const wchar_t* psz);
    CString& operator+=(const CString& s);
    CString& operator+=(wchar_t ch);
    bool operator==(const CString& s) const { return m_str == s.m_str; }
    bool operator!=(const CString& s) const { return m_str != s.m_str; }

    int Find(wchar_t ch, int nStart = 0) const;
    int ReverseFind(wchar_t ch) const;
    CString Left(int nCount) const;
    CString Mid(int nFirst, int nCount = -1) const;
    int CompareNoCase(const wchar_t* psz) const;

  private:
    std::wstring m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
