// The client settings file: whatever file is there, a value written is read back unchanged,
// and the other value in the file survives the write.
#include "FuzzText.h"
#include "ClientSettings.h"

#include <port/include/wxlm_port.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// What the file keeps of a value: text up to a NUL, lone surrogates as U+FFFD.
std::wstring Stored(const std::wstring& value)
{
    return WithoutLoneSurrogates(value.substr(0, value.find(L'\0')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    static const char* const kKeys[] = {"qvwindowid", "loginsource"};
    const bool firstKey = provider.ConsumeBool();
    const std::string key = kKeys[firstKey ? 0 : 1];
    const std::string other = kKeys[firstKey ? 1 : 0];
    const bool utf16 = provider.ConsumeBool();
    const std::string valueBytes = provider.ConsumeRandomLengthString(300);
    const auto* valueData = reinterpret_cast<const uint8_t*>(valueBytes.data());
    const std::wstring value = utf16 ? Utf16Units(valueData, valueBytes.size()) : FuzzWideText(valueData, valueBytes.size());
    const bool fileThere = provider.ConsumeBool();
    const std::string file = provider.ConsumeRemainingBytesAsString();

    const std::string dir = wxlm_port::LocalAppDataDir();
    const std::string narrowPath = dir + "/setting.xml";
    const std::wstring path = std::wstring(dir.begin(), dir.end()) + L"\\setting.xml";
    std::remove(narrowPath.c_str());
    if (fileThere) {
        if (FILE* out = std::fopen(narrowPath.c_str(), "wb")) {
            std::fwrite(file.data(), 1, file.size(), out);
            std::fclose(out);
        }
    }
    std::wstring otherBefore;
    const bool otherThere = ReadClientSetting(other, path, otherBefore);

    if (!WriteClientSetting(key, value, path))
        return 0;
    std::wstring read = L"(unset)";
    if (!ReadClientSetting(key, path, read)) {
        std::fprintf(stderr, "a value written cannot be read back\n");
        std::abort();
    }
    const std::wstring expected = Stored(value);
    AssertSameText("settings value", expected.empty() ? L"(unset)" : expected, read);

    std::wstring otherAfter;
    if (ReadClientSetting(other, path, otherAfter) != otherThere) {
        std::fprintf(stderr, "writing one value changed whether the other is there\n");
        std::abort();
    }
    AssertSameText("other settings value", otherBefore, otherAfter);
    return 0;
}
