#include "PortalAddress.h"

#include "Common.h"

namespace {

struct QueryPiece {
    const wchar_t* key;
    std::wstring LaunchParams::*value;
};

constexpr QueryPiece OptionalQueryPieces[] = {
    {L"&token=", &LaunchParams::token},
    {L"&source=", &LaunchParams::source},
    {L"&qvext=", &LaunchParams::qvext},
    {L"&tokenLogin=", &LaunchParams::tokenLogin},
};

} // namespace

std::wstring PortalBaseAddress()
{
    return std::wstring(L"https://") + WXLM_PORTAL_HOST + L"/client/index/" + GameId;
}

std::wstring BuildPortalAddress(const std::wstring& fileParam, const LaunchParams& params)
{
    std::wstring address = PortalBaseAddress() + L"?fileparam=" + fileParam;
    for (const QueryPiece& piece : OptionalQueryPieces) {
        const std::wstring& value = params.*piece.value;
        if (!value.empty())
            address += piece.key + value;
    }
    return address;
}
