#include "PortalAddress.h"

#include <gtest/gtest.h>

namespace {

const std::wstring Base = L"https://" WXLM_PORTAL_HOST L"/client/index/wxlm";

LaunchParams Params(std::wstring token, std::wstring source, std::wstring qvext, std::wstring tokenLogin)
{
    LaunchParams params;
    params.token = std::move(token);
    params.source = std::move(source);
    params.qvext = std::move(qvext);
    params.tokenLogin = std::move(tokenLogin);
    // Never part of the query.
    params.winid = L"77";
    params.gameMgrId = L"88";
    params.typeMode = L"1";
    params.installed = 1;
    return params;
}

struct AddressCase {
    std::wstring fileParam;
    LaunchParams params;
    std::wstring query;
};

TEST(PortalAddressTest, BaseIsTheGamesPageOnThePortal)
{
    EXPECT_EQ(PortalBaseAddress(), Base);
    EXPECT_EQ(PortalBaseAddress().rfind(L"/client/index/wxlm"), PortalBaseAddress().size() - 18);
}

TEST(PortalAddressTest, QueryKeysInTheirFixedOrderOnlyWhenSet)
{
    const AddressCase cases[] = {
        {L"", Params(L"", L"", L"", L""), L"?fileparam="},
        {L"bag7", Params(L"", L"", L"", L""), L"?fileparam=bag7"},
        {L"f", Params(L"tk", L"QV", L"ex", L"0"), L"?fileparam=f&token=tk&source=QV&qvext=ex&tokenLogin=0"},
        {L"", Params(L"", L"QV", L"", L"1"), L"?fileparam=&source=QV&tokenLogin=1"},
        {L"", Params(L"tk", L"", L"ex", L""), L"?fileparam=&token=tk&qvext=ex"},
    };
    for (const AddressCase& c : cases)
        EXPECT_EQ(BuildPortalAddress(c.fileParam, c.params), Base + c.query);
}

TEST(PortalAddressTest, ValuesAreCopiedWithoutEncoding)
{
    const std::wstring address = BuildPortalAddress(L"a b%", Params(L"t=1", L"QV&x=1", L"\x6e38 #", L""));
    EXPECT_EQ(address, Base + L"?fileparam=a b%&token=t=1&source=QV&x=1&qvext=\x6e38 #");
}

} // namespace
