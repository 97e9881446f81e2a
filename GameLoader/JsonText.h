#pragma once

#include <json/value.h>

#include <string>

// The one place where wide text meets jsoncpp. Inside a Json::Value, strings are UTF-8, so any
// UTF-16 text survives the trip; the written text escapes everything outside ASCII, so the wide
// form of it is the same in every code page.

// Reads text with the classic reader's default features (any value as the document, comments
// allowed). False on a syntax error, on text after the value, or on anything the library throws
// (nesting too deep).
bool ParseJsonText(const std::wstring& text, Json::Value& root);

// The compact writer's output: no blanks between tokens, keys in ascending byte order, one
// line feed at the end ("null\n" for a null value).
std::wstring WriteJsonText(const Json::Value& value);

// A JSON string member as wide text; empty when value is not a string.
std::wstring JsonStringToWide(const Json::Value& value);
