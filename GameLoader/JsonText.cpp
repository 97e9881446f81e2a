#include "JsonText.h"

#include "Common.h"

// The launcher's JSON contract is defined by the classic Reader and FastWriter (default
// features, compact output with its line feed); the library marks both deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <json/reader.h>
#include <json/writer.h>

#include <memory>

namespace {

// The classic reader stops after the first value and ignores the rest, so "--source=QV" would
// read as the number 0 (from the lone "-"). Text counts as JSON only when nothing but blanks and
// comments follows the value.
bool IsSingleDocument(const std::string& text)
{
    Json::CharReaderBuilder builder;
    builder["failIfExtra"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value ignored;
    std::string errors;
    return reader->parse(text.data(), text.data() + text.size(), &ignored, &errors);
}

} // namespace

bool ParseJsonText(const std::wstring& text, Json::Value& root)
{
    try {
        const std::string narrow = WideToMulti(text, CP_UTF8);
        Json::Reader reader;
        Json::Value parsed;
        if (!reader.parse(narrow, parsed) || !IsSingleDocument(narrow))
            return false;
        root = std::move(parsed);
        return true;
    } catch (...) {
        return false;
    }
}

std::wstring WriteJsonText(const Json::Value& value)
{
    try {
        Json::FastWriter writer;
        return MultiToWide(writer.write(value), CP_UTF8);
    } catch (...) {
        return {};
    }
}
#pragma GCC diagnostic pop

std::wstring JsonStringToWide(const Json::Value& value)
{
    if (!value.isString())
        return {};
    return MultiToWide(value.asString(), CP_UTF8);
}
