#include "controls/AttributeValue.h"

#include <cwchar>
#include <cwctype>

namespace Tarvo {

namespace {

// Skin numbers beyond this are nonsense for any screen; clamping keeps the layout sums
// (offset + size + padding over thousands of children) inside int.
constexpr long long AttributeIntLimit = 1000000;

int HexDigit(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9') {
        return ch - L'0';
    }
    if (ch >= L'a' && ch <= L'f') {
        return ch - L'a' + 10;
    }
    if (ch >= L'A' && ch <= L'F') {
        return ch - L'A' + 10;
    }
    return -1;
}

} // namespace

int ParseAttributeInt(const wchar_t* pstrValue, const wchar_t** pstrEnd)
{
    const wchar_t* p = pstrValue != nullptr ? pstrValue : L"";
    const wchar_t* const pStart = p;
    while (*p != L'\0' && std::iswspace(*p)) {
        ++p;
    }
    bool bNegative = false;
    if (*p == L'+' || *p == L'-') {
        bNegative = *p == L'-';
        ++p;
    }
    if (*p < L'0' || *p > L'9') {
        if (pstrEnd != nullptr) {
            *pstrEnd = pStart;
        }
        return 0;
    }
    long long value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        if (value <= AttributeIntLimit) {
            value = value * 10 + (*p - L'0');
        }
    }
    if (value > AttributeIntLimit) {
        value = AttributeIntLimit;
    }
    if (pstrEnd != nullptr) {
        *pstrEnd = p;
    }
    return static_cast<int>(bNegative ? -value : value);
}

void ParseAttributeInts(const wchar_t* pstrValue, int* pValues, int nCount)
{
    const wchar_t* p = pstrValue != nullptr ? pstrValue : L"";
    for (int i = 0; i < nCount; ++i) {
        pValues[i] = ParseAttributeInt(p, &p);
        if (*p != L'\0') {
            ++p;
        }
    }
}

RECT ParseAttributeRect(const wchar_t* pstrValue)
{
    int values[4] = {};
    ParseAttributeInts(pstrValue, values, 4);
    return RECT{values[0], values[1], values[2], values[3]};
}

SIZE ParseAttributeSize(const wchar_t* pstrValue)
{
    int values[2] = {};
    ParseAttributeInts(pstrValue, values, 2);
    return SIZE{values[0], values[1]};
}

bool ParseAttributeBool(const wchar_t* pstrValue)
{
    return pstrValue != nullptr && std::wcscmp(pstrValue, L"true") == 0;
}

DWORD ParseAttributeColor(const wchar_t* pstrValue, bool bSkipBlanks)
{
    const wchar_t* p = pstrValue != nullptr ? pstrValue : L"";
    if (bSkipBlanks) {
        while (*p != L'\0' && *p <= L' ') {
            ++p;
        }
    }
    if (*p == L'#') {
        ++p;
    }
    unsigned long long value = 0;
    for (int digit = HexDigit(*p); digit >= 0; digit = HexDigit(*++p)) {
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull) {
            return 0xFFFFFFFF;
        }
    }
    return static_cast<DWORD>(value);
}

} // namespace Tarvo
