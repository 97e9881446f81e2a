#include "core/UIString.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <new>

namespace Tarvo {

namespace {

int TextLength(const wchar_t* pstr, int nLength)
{
    if (pstr == nullptr) {
        return 0;
    }
    if (nLength < 0) {
        return static_cast<int>(wcslen(pstr));
    }
    return static_cast<int>(wcsnlen(pstr, static_cast<size_t>(nLength)));
}

const wchar_t* OrEmpty(const wchar_t* pstr)
{
    return pstr != nullptr ? pstr : L"";
}

} // namespace

CUIString::CUIString() : m_pstr(m_szBuffer), m_nLength(0), m_nCapacity(MAX_LOCAL_STRING_LEN)
{
    m_szBuffer[0] = L'\0';
}

CUIString::CUIString(const wchar_t* pstr, int nLength) : CUIString()
{
    Assign(pstr, nLength);
}

CUIString::CUIString(wchar_t ch) : CUIString()
{
    Assign(&ch, 1);
}

CUIString::CUIString(const CUIString& src) : CUIString()
{
    Assign(src.m_pstr, src.m_nLength);
}

CUIString::CUIString(CUIString&& src) noexcept : CUIString()
{
    *this = static_cast<CUIString&&>(src);
}

CUIString::~CUIString()
{
    ReleaseHeap();
}

CUIString& CUIString::operator=(const CUIString& src)
{
    if (this != &src) {
        Assign(src.m_pstr, src.m_nLength);
    }
    return *this;
}

CUIString& CUIString::operator=(CUIString&& src) noexcept
{
    if (this == &src) {
        return *this;
    }
    if (src.IsLocal()) {
        Assign(src.m_pstr, src.m_nLength); // fits locally, cannot fail
    } else {
        ReleaseHeap();
        m_pstr = src.m_pstr;
        m_nLength = src.m_nLength;
        m_nCapacity = src.m_nCapacity;
        src.m_pstr = src.m_szBuffer;
        src.m_nCapacity = MAX_LOCAL_STRING_LEN;
    }
    src.m_nLength = 0;
    src.m_pstr[0] = L'\0';
    return *this;
}

CUIString& CUIString::operator=(const wchar_t* pstr)
{
    Assign(pstr);
    return *this;
}

CUIString& CUIString::operator=(wchar_t ch)
{
    Assign(&ch, 1);
    return *this;
}

wchar_t CUIString::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nLength ? m_pstr[nIndex] : L'\0';
}

void CUIString::SetAt(int nIndex, wchar_t ch)
{
    if (nIndex >= 0 && nIndex < m_nLength && ch != L'\0') {
        m_pstr[nIndex] = ch;
    }
}

void CUIString::ReleaseHeap()
{
    if (!IsLocal()) {
        delete[] m_pstr;
        m_pstr = m_szBuffer;
        m_nCapacity = MAX_LOCAL_STRING_LEN;
    }
}

bool CUIString::Reserve(int nLength)
{
    if (nLength <= m_nCapacity) {
        return true;
    }
    int nCapacity = m_nCapacity * 2 > nLength ? m_nCapacity * 2 : nLength;
    wchar_t* pNew = new (std::nothrow) wchar_t[static_cast<size_t>(nCapacity) + 1];
    if (pNew == nullptr) {
        return false;
    }
    wmemcpy(pNew, m_pstr, static_cast<size_t>(m_nLength) + 1);
    ReleaseHeap();
    m_pstr = pNew;
    m_nCapacity = nCapacity;
    return true;
}

void CUIString::Empty()
{
    ReleaseHeap();
    m_nLength = 0;
    m_szBuffer[0] = L'\0';
}

bool CUIString::Assign(const wchar_t* pstr, int nLength)
{
    nLength = TextLength(pstr, nLength);
    if (pstr >= m_pstr && pstr <= m_pstr + m_nLength) {
        // Part of ourselves: a shorter piece of the same buffer, moved down.
        wmemmove(m_pstr, pstr, static_cast<size_t>(nLength));
        m_nLength = nLength;
        m_pstr[m_nLength] = L'\0';
        return true;
    }
    m_nLength = 0;
    m_pstr[0] = L'\0';
    return Append(pstr, nLength);
}

bool CUIString::Append(const wchar_t* pstr, int nLength)
{
    nLength = TextLength(pstr, nLength);
    if (nLength == 0) {
        return true;
    }
    if (pstr >= m_pstr && pstr <= m_pstr + m_nLength) {
        CUIString copy(pstr, nLength); // Reserve may free the buffer pstr points into
        return Append(copy.m_pstr, copy.m_nLength);
    }
    if (nLength > 0x3FFFFFFF - m_nLength || !Reserve(m_nLength + nLength)) {
        return false;
    }
    wmemcpy(m_pstr + m_nLength, pstr, static_cast<size_t>(nLength));
    m_nLength += nLength;
    m_pstr[m_nLength] = L'\0';
    return true;
}

CUIString& CUIString::operator+=(const CUIString& src)
{
    Append(src.m_pstr, src.m_nLength);
    return *this;
}

CUIString& CUIString::operator+=(const wchar_t* pstr)
{
    Append(pstr);
    return *this;
}

CUIString& CUIString::operator+=(wchar_t ch)
{
    Append(&ch, 1);
    return *this;
}

CUIString CUIString::operator+(const CUIString& src) const
{
    CUIString result(*this);
    result += src;
    return result;
}

CUIString CUIString::operator+(const wchar_t* pstr) const
{
    CUIString result(*this);
    result += pstr;
    return result;
}

int CUIString::Compare(const wchar_t* pstr) const
{
    return wcscmp(m_pstr, OrEmpty(pstr));
}

int CUIString::CompareNoCase(const wchar_t* pstr) const
{
    return _wcsicmp(m_pstr, OrEmpty(pstr));
}

// The user32 case mapping covers all of Unicode; the C runtime's only knows its current locale.
void CUIString::MakeUpper()
{
    ::CharUpperBuffW(m_pstr, static_cast<DWORD>(m_nLength));
}

void CUIString::MakeLower()
{
    ::CharLowerBuffW(m_pstr, static_cast<DWORD>(m_nLength));
}

CUIString CUIString::Left(int nLength) const
{
    return Mid(0, nLength);
}

CUIString CUIString::Mid(int nPos, int nLength) const
{
    if (nPos < 0) {
        nPos = 0;
    }
    if (nPos > m_nLength) {
        nPos = m_nLength;
    }
    int nAvailable = m_nLength - nPos;
    if (nLength < 0 || nLength > nAvailable) {
        nLength = nAvailable;
    }
    return CUIString(m_pstr + nPos, nLength);
}

CUIString CUIString::Right(int nLength) const
{
    if (nLength < 0) {
        nLength = 0;
    }
    if (nLength > m_nLength) {
        nLength = m_nLength;
    }
    return CUIString(m_pstr + m_nLength - nLength, nLength);
}

int CUIString::Find(wchar_t ch, int nPos) const
{
    if (nPos < 0 || nPos > m_nLength || ch == L'\0') {
        return -1;
    }
    const wchar_t* p = wcschr(m_pstr + nPos, ch);
    return p == nullptr ? -1 : static_cast<int>(p - m_pstr);
}

int CUIString::Find(const wchar_t* pstrSub, int nPos) const
{
    if (nPos < 0 || nPos > m_nLength || pstrSub == nullptr || *pstrSub == L'\0') {
        return -1;
    }
    const wchar_t* p = wcsstr(m_pstr + nPos, pstrSub);
    return p == nullptr ? -1 : static_cast<int>(p - m_pstr);
}

int CUIString::ReverseFind(wchar_t ch) const
{
    if (ch == L'\0') {
        return -1;
    }
    const wchar_t* p = wcsrchr(m_pstr, ch);
    return p == nullptr ? -1 : static_cast<int>(p - m_pstr);
}

int CUIString::Replace(const wchar_t* pstrFrom, const wchar_t* pstrTo)
{
    if (pstrFrom == nullptr || *pstrFrom == L'\0') {
        return 0;
    }
    int nFromLength = static_cast<int>(wcslen(pstrFrom));
    CUIString result;
    int nCount = 0;
    int nStart = 0;
    for (int nPos = Find(pstrFrom); nPos >= 0; nPos = Find(pstrFrom, nStart)) {
        result.Append(m_pstr + nStart, nPos - nStart);
        result.Append(pstrTo);
        nStart = nPos + nFromLength;
        ++nCount;
    }
    if (nCount > 0) {
        result.Append(m_pstr + nStart);
        *this = static_cast<CUIString&&>(result);
    }
    return nCount;
}

int CUIString::Format(const wchar_t* pstrFormat, ...)
{
    wchar_t szBuffer[MAX_LOCAL_STRING_LEN + 1] = {};
    va_list args;
    va_start(args, pstrFormat);
    // Truncation returns -1 and leaves no terminator; the zeroed last slot is ours.
    _vsnwprintf(szBuffer, MAX_LOCAL_STRING_LEN, OrEmpty(pstrFormat), args);
    va_end(args);
    Assign(szBuffer);
    return m_nLength;
}

} // namespace Tarvo
