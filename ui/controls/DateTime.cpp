#include "controls/DateTime.h"

#include "controls/DateTimeWnd.h"
#include "core/WindowManager.h"

#include <cwchar>
#include <cwctype>
#include <iterator>

namespace Tarvo {

namespace {

// Reads 1 to nMaxDigits decimal digits; false when there is none.
bool ReadNumber(const wchar_t*& p, int nMaxDigits, int& nValue)
{
    nValue = 0;
    int nDigits = 0;
    while (nDigits < nMaxDigits && *p >= L'0' && *p <= L'9') {
        nValue = nValue * 10 + (*p - L'0');
        ++p;
        ++nDigits;
    }
    return nDigits > 0;
}

bool IsLeapYear(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

// Checked here: not every SystemTimeToFileTime refuses a day past the end of its month.
bool IsCalendarDate(const SYSTEMTIME& date)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.wYear < 1601 || date.wYear > 9999 || date.wMonth < 1 || date.wMonth > 12 || date.wDay < 1) {
        return false;
    }
    const int nDays = kDays[date.wMonth - 1] + (date.wMonth == 2 && IsLeapYear(date.wYear) ? 1 : 0);
    return date.wDay <= nDays;
}

// The date with its day of the week, when the calendar has it.
bool CompleteDate(SYSTEMTIME& sysTime)
{
    SYSTEMTIME date = {};
    date.wYear = sysTime.wYear;
    date.wMonth = sysTime.wMonth;
    date.wDay = sysTime.wDay;
    FILETIME fileTime = {};
    if (!IsCalendarDate(date) || !::SystemTimeToFileTime(&date, &fileTime) ||
        !::FileTimeToSystemTime(&fileTime, &date)) {
        return false;
    }
    sysTime = date;
    return true;
}

SYSTEMTIME Today()
{
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    CompleteDate(now);
    return now;
}

} // namespace

CDateTimeUI::CDateTimeUI() : m_sysTime(Today())
{
    CLabelUI::SetText(FormatDate(m_sysTime));
}

CDateTimeUI::~CDateTimeUI()
{
    if (m_pWindow != nullptr) {
        m_pWindow->Abandon();
    }
}

const wchar_t* CDateTimeUI::TypeName() const
{
    return L"DateTimeUI";
}

void* CDateTimeUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"DateTime") == 0) {
        return this;
    }
    return CLabelUI::LookupInterface(pstrName);
}

UINT CDateTimeUI::InputFlags()
{
    return IsEnabled() && IsKeyboardEnabled() ? static_cast<UINT>(InputTabStop) : 0U;
}

bool CDateTimeUI::ParseDate(const wchar_t* pstrText, SYSTEMTIME& sysTime)
{
    if (pstrText == nullptr) {
        return false;
    }
    const wchar_t* p = pstrText;
    int nYear = 0;
    int nMonth = 0;
    int nDay = 0;
    if (!ReadNumber(p, 4, nYear) || *p++ != L'-' || !ReadNumber(p, 2, nMonth) || *p++ != L'-' ||
        !ReadNumber(p, 2, nDay) || *p != L'\0') {
        return false;
    }
    SYSTEMTIME date = {};
    date.wYear = static_cast<WORD>(nYear);
    date.wMonth = static_cast<WORD>(nMonth);
    date.wDay = static_cast<WORD>(nDay);
    if (!CompleteDate(date)) {
        return false;
    }
    sysTime = date;
    return true;
}

CUIString CDateTimeUI::FormatDate(const SYSTEMTIME& sysTime)
{
    wchar_t szText[32] = {};
    std::swprintf(szText, std::size(szText), L"%4d-%02d-%02d", sysTime.wYear, sysTime.wMonth, sysTime.wDay);
    return CUIString(szText);
}

bool CDateTimeUI::SetTime(const SYSTEMTIME& sysTime)
{
    SYSTEMTIME date = sysTime;
    if (!CompleteDate(date)) {
        return false;
    }
    m_sysTime = date;
    CLabelUI::SetText(FormatDate(m_sysTime));
    return true;
}

void CDateTimeUI::SetText(const wchar_t* pstrText)
{
    SYSTEMTIME date = {};
    if (ParseDate(pstrText, date)) {
        SetTime(date);
    }
}

bool CDateTimeUI::OpenPicker()
{
    if (m_pWindow != nullptr || !IsEnabled() || !IsVisible() || m_pManager == nullptr ||
        m_pManager->WindowHandle() == nullptr) {
        return false;
    }
    m_pWindow = CDateTimeWnd::Open(this);
    return m_pWindow != nullptr;
}

void CDateTimeUI::ClosePicker()
{
    if (m_pWindow != nullptr) {
        m_pWindow->Close();
    }
}

void CDateTimeUI::PickerClosed(CDateTimeWnd* pWindow)
{
    if (m_pWindow == pWindow) {
        m_pWindow = nullptr;
        Repaint();
    }
}

void CDateTimeUI::SetPosition(RECT rc)
{
    CLabelUI::SetPosition(rc);
    if (m_pWindow != nullptr) {
        m_pWindow->Place(m_rcItem);
    }
}

void CDateTimeUI::SetEnabled(bool bEnabled)
{
    CLabelUI::SetEnabled(bEnabled);
    if (!bEnabled) {
        ClosePicker();
    }
}

void CDateTimeUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    if (!bVisible) {
        ClosePicker();
    }
}

void CDateTimeUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        CLabelUI::HandleEvent(event);
        return;
    }
    if (event.type == EventButtonDown && ::PtInRect(&m_rcItem, event.mousePoint)) {
        OpenPicker();
        return;
    }
    if (event.type == EventKeyDown && IsKeyboardEnabled() &&
        (event.wParam == VK_SPACE || event.wParam == VK_RETURN || event.wParam == VK_F4)) {
        OpenPicker();
        return;
    }
    CLabelUI::HandleEvent(event);
}

} // namespace Tarvo
