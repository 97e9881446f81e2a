#include "core/ImageSpec.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace Tarvo {

namespace {

bool IsBlank(wchar_t ch)
{
    return ch != L'\0' && ch <= L' ';
}

const wchar_t* SkipBlanks(const wchar_t* p)
{
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

LONG ClampToLong(long long value)
{
    return static_cast<LONG>(std::clamp<long long>(value, LONG_MIN, LONG_MAX));
}

// Like wcstol: leading blanks and a sign; p stays where it was when there are no digits.
LONG ReadInteger(const wchar_t*& p)
{
    const wchar_t* q = SkipBlanks(p);
    bool bNegative = false;
    if (*q == L'+' || *q == L'-') {
        bNegative = *q++ == L'-';
    }
    if (*q < L'0' || *q > L'9') {
        return 0;
    }
    long long value = 0;
    for (; *q >= L'0' && *q <= L'9'; ++q) {
        value = std::min<long long>(value * 10 + (*q - L'0'), 1LL << 40);
    }
    p = q;
    return ClampToLong(bNegative ? -value : value);
}

RECT ReadRect(const std::wstring& value)
{
    LONG values[4] = {};
    ParseIntList(value.c_str(), values, 4);
    return {values[0], values[1], values[2], values[3]};
}

DWORD ReadHexColor(const std::wstring& value)
{
    const wchar_t* p = value.c_str();
    if (*p == L'#') {
        ++p;
    }
    return static_cast<DWORD>(std::wcstoul(p, nullptr, 16));
}

BYTE ReadFade(const std::wstring& value)
{
    const wchar_t* p = value.c_str();
    return static_cast<BYTE>(std::clamp<LONG>(ReadInteger(p), 0, 255));
}

RECT DestInItem(const RECT& rcOffsets, const RECT& rcItem)
{
    RECT rc;
    rc.left = ClampToLong(static_cast<long long>(rcItem.left) + rcOffsets.left);
    rc.top = ClampToLong(static_cast<long long>(rcItem.top) + rcOffsets.top);
    rc.right = std::min(ClampToLong(static_cast<long long>(rcItem.left) + rcOffsets.right), rcItem.right);
    rc.bottom = std::min(ClampToLong(static_cast<long long>(rcItem.top) + rcOffsets.bottom), rcItem.bottom);
    return rc;
}

class CImageSpecParser {
public:
    CImageSpecParser(const wchar_t* pstrDescription, const RECT& rcItem) : m_rcItem(rcItem)
    {
        m_current.name = pstrDescription;
        m_current.dest = rcItem;
    }

    void Parse(const wchar_t* pstr)
    {
        m_nFileCount = 0;
        std::wstring key;
        std::wstring value;
        while (pstr != nullptr && *pstr != L'\0' && ReadPair(pstr, key, value)) {
            Apply(key, value);
            if (*pstr != L' ') {
                break;
            }
            ++pstr;
        }
    }

    std::vector<UIImageSpec> Finish()
    {
        m_images.push_back(m_current);
        return std::move(m_images);
    }

private:
    // key='value'; false on any deviation from that form.
    static bool ReadPair(const wchar_t*& p, std::wstring& key, std::wstring& value)
    {
        key.clear();
        value.clear();
        p = SkipBlanks(p);
        while (*p != L'\0' && *p != L'=' && *p > L' ') {
            key += *p++;
        }
        p = SkipBlanks(p);
        if (*p != L'=') {
            return false;
        }
        p = SkipBlanks(p + 1);
        if (*p != L'\'') {
            return false;
        }
        ++p;
        while (*p != L'\0' && *p != L'\'') {
            value += *p++;
        }
        if (*p != L'\'') {
            return false;
        }
        ++p;
        return true;
    }

    void Apply(const std::wstring& key, const std::wstring& value)
    {
        if (value.empty()) {
            return;
        }
        if (key == L"file" || key == L"res") {
            if (m_nFileCount > 0) {
                m_images.push_back(m_current);
            }
            m_current.name = value;
            if (key == L"file") {
                ++m_nFileCount;
            }
        } else if (key == L"restype") {
            m_current.resourceType = value;
        } else if (key == L"dest") {
            m_current.dest = DestInItem(ReadRect(value), m_rcItem);
        } else if (key == L"source") {
            m_current.source = ReadRect(value);
        } else if (key == L"corner") {
            m_current.corner = ReadRect(value);
        } else if (key == L"mask") {
            m_current.mask = ReadHexColor(value);
        } else if (key == L"fade") {
            m_current.fade = ReadFade(value);
        } else if (key == L"hole") {
            m_current.hole = value == L"true";
        } else if (key == L"xtiled") {
            m_current.xTiled = value == L"true";
        } else if (key == L"ytiled") {
            m_current.yTiled = value == L"true";
        }
    }

    RECT m_rcItem;
    UIImageSpec m_current;
    std::vector<UIImageSpec> m_images;
    int m_nFileCount = 0;
};

} // namespace

void ParseIntList(const wchar_t* pstrValue, LONG* pValues, int count)
{
    const wchar_t* p = pstrValue != nullptr ? pstrValue : L"";
    for (int i = 0; i < count; ++i) {
        pValues[i] = ReadInteger(p);
        if (*p != L'\0') {
            ++p;
        }
    }
}

std::vector<UIImageSpec> ParseImageSpec(const wchar_t* pstrDescription, const wchar_t* pstrModifier, const RECT& rcItem)
{
    CImageSpecParser parser(pstrDescription != nullptr ? pstrDescription : L"", rcItem);
    parser.Parse(pstrDescription);
    parser.Parse(pstrModifier);
    return parser.Finish();
}

} // namespace Tarvo
