#pragma once

#include <windows.h>

namespace Tarvo {

// Wide string of the framework. Texts up to MAX_LOCAL_STRING_LEN characters live inside the
// object; longer ones on the heap. Never null: an empty string is "".
class CUIString {
public:
    enum { MAX_LOCAL_STRING_LEN = 63 };

    CUIString();
    CUIString(const wchar_t* pstr, int nLength = -1);
    explicit CUIString(wchar_t ch);
    CUIString(const CUIString& src);
    CUIString(CUIString&& src) noexcept;
    ~CUIString();

    CUIString& operator=(const CUIString& src);
    CUIString& operator=(CUIString&& src) noexcept;
    CUIString& operator=(const wchar_t* pstr);
    CUIString& operator=(wchar_t ch);

    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    wchar_t GetAt(int nIndex) const;
    wchar_t operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, wchar_t ch);
    const wchar_t* GetData() const { return m_pstr; }
    operator LPCWSTR() const { return m_pstr; }

    void Empty();
    bool Assign(const wchar_t* pstr, int nLength = -1);
    bool Append(const wchar_t* pstr, int nLength = -1);

    CUIString& operator+=(const CUIString& src);
    CUIString& operator+=(const wchar_t* pstr);
    CUIString& operator+=(wchar_t ch);
    CUIString operator+(const CUIString& src) const;
    CUIString operator+(const wchar_t* pstr) const;

    int Compare(const wchar_t* pstr) const;
    int CompareNoCase(const wchar_t* pstr) const;
    bool operator==(const wchar_t* pstr) const { return Compare(pstr) == 0; }
    bool operator!=(const wchar_t* pstr) const { return Compare(pstr) != 0; }
    bool operator<(const wchar_t* pstr) const { return Compare(pstr) < 0; }
    bool operator<=(const wchar_t* pstr) const { return Compare(pstr) <= 0; }
    bool operator>(const wchar_t* pstr) const { return Compare(pstr) > 0; }
    bool operator>=(const wchar_t* pstr) const { return Compare(pstr) >= 0; }
    bool operator==(const CUIString& src) const { return Compare(src.m_pstr) == 0; }
    bool operator!=(const CUIString& src) const { return Compare(src.m_pstr) != 0; }
    bool operator<(const CUIString& src) const { return Compare(src.m_pstr) < 0; }

    void MakeUpper();
    void MakeLower();

    CUIString Left(int nLength) const;
    CUIString Mid(int nPos, int nLength = -1) const;
    CUIString Right(int nLength) const;

    // -1 when not found; nPos is clamped to the string.
    int Find(wchar_t ch, int nPos = 0) const;
    int Find(const wchar_t* pstrSub, int nPos = 0) const;
    int ReverseFind(wchar_t ch) const;
    // Replaces every non-overlapping occurrence; returns how many were replaced.
    int Replace(const wchar_t* pstrFrom, const wchar_t* pstrTo);

    // printf-style with the C runtime's wide conventions; the result is cut to
    // MAX_LOCAL_STRING_LEN characters. Returns the new length.
    int Format(const wchar_t* pstrFormat, ...);

private:
    bool Reserve(int nLength);
    void ReleaseHeap();
    bool IsLocal() const { return m_pstr == m_szBuffer; }

    wchar_t* m_pstr;
    int m_nLength;
    int m_nCapacity; // characters available, not counting the terminator
    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 1];
};

} // namespace Tarvo
