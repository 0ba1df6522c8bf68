#include "String.h"

#include <algorithm>

wchar_t* CString::GetBuffer(int nMinLength) {
    if (GetLength() < nMinLength)
        m_str.resize(nMinLength);
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0)
        nNewLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
    m_str.resize(std::min<size_t>(nNewLength, m_str.size()));
}

CString& CString::operator=(const wchar_t* psz) {
    m_str = psz ? psz : L"";
    return *this;
}

CString& CString::operator+=(const wchar_t* psz) {
    if (psz)
        m_str += psz;
    return *this;
}

CString& CString::operator+=(const CString& s) {
    m_str += s.m_str;
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    m_str += ch;
    return *this;
}

int CString::Find(wchar_t ch, int nStart) const {
    size_t pos = m_str.find(ch, nStart);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const {
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.c_str(), nCount);
}

CString CString::Mid(int nFirst, int nCount) const {
    nFirst = std::clamp(nFirst, 0, GetLength());
    int nMax = GetLength() - nFirst;
    if (nCount < 0 || nCount > nMax)
        nCount = nMax;
    return CString(m_str.c_str() + nFirst, nCount);
}

int CString::CompareNoCase(const wchar_t* psz) const {
    return _wcsicmp(m_str.c_str(), psz ? psz : L"");
}

CString operator+(const CString& a, const CString& b) {
    CString s(a);
    s += b;
    return s;
}

CString operator+(const CString& a, const wchar_t* b) {
    CString s(a);
    s += b;
    return s;
}

CString operator+(const wchar_t* a, const CString& b) {
    CString s(a);
    s += b;
    return s;
}
