#include "RegistryText.h"

namespace {

// Numbers and binary data would come back as garbage characters.
bool IsTextType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

std::wstring RegistryTextFromData(DWORD type, const BYTE* data, size_t bytes)
{
    std::wstring text;
    if (!IsTextType(type) || data == nullptr)
        return text;
    for (size_t i = 0; i < bytes; i += 2) {
        const unsigned high = i + 1 < bytes ? data[i + 1] : 0;
        const wchar_t unit = static_cast<wchar_t>(data[i] | (high << 8));
        if (unit == L'\0')
            break;
        text.push_back(unit);
    }
    return text;
}

std::vector<BYTE> RegistryDataFromText(const std::wstring& text)
{
    std::vector<BYTE> data;
    data.reserve((text.size() + 1) * 2);
    for (const wchar_t unit : text) {
        data.push_back(static_cast<BYTE>(unit & 0xFF));
        data.push_back(static_cast<BYTE>((unit >> 8) & 0xFF));
    }
    data.insert(data.end(), {0, 0});
    return data;
}
