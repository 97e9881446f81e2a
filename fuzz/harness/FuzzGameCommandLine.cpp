// The game's command line from arbitrary parameter values: built, then split back.
#include "FuzzText.h"
#include "GameArguments.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

std::wstring Units(FuzzedDataProvider& provider)
{
    const std::string bytes = provider.ConsumeRandomLengthString(200);
    std::wstring text = Utf16Units(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    // Blanks, quotes and backslashes are what the quoting is about: make them common.
    static const wchar_t kSpecial[] = L" \t\"\\\\\"\n";
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<uint32_t>(text[i]) & 0xFF00) == 0xFF00)
            text[i] = kSpecial[static_cast<uint32_t>(text[i]) % 7];
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    LaunchParams params;
    params.source = Units(provider);
    params.tokenLogin = Units(provider);
    params.token = Units(provider);
    params.qvext = Units(provider);
    params.gameMgrId = Units(provider);
    params.typeMode = Units(provider);
    CheckGameCommandLine(params);
    return 0;
}
