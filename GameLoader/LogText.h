#pragma once

#include <string>
#include <string_view>
#include <type_traits>

// The text of one log entry, put together with << the way the log lines read: wide text as it
// is, numbers in decimal (bool as 1 or 0), as a wide string stream writes them, without pulling
// the stream and locale machinery into the program.
class LogText {
public:
    LogText& operator<<(const wchar_t* text)
    {
        if (text != nullptr)
            m_text += text;
        return *this;
    }
    LogText& operator<<(std::wstring_view text)
    {
        m_text.append(text);
        return *this;
    }
    LogText& operator<<(wchar_t character)
    {
        m_text += character;
        return *this;
    }
    template <typename Number>
        requires(std::is_integral_v<Number> && !std::is_same_v<Number, char> && !std::is_same_v<Number, wchar_t> &&
                 !std::is_same_v<Number, char8_t> && !std::is_same_v<Number, char16_t> &&
                 !std::is_same_v<Number, char32_t>)
    LogText& operator<<(Number value)
    {
        if constexpr (std::is_same_v<Number, bool>)
            m_text += value ? L'1' : L'0';
        else
            m_text += std::to_wstring(value);
        return *this;
    }

    const std::wstring& str() const { return m_text; }

private:
    std::wstring m_text;
};
