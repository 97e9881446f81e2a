#pragma once

#include "BrowserEventPoint.h"

#include <string>

namespace wxlmportal {

// The DWebBrowserEvents2 events with the real browser's dispatch ids, argument order and
// variant types. frameName is "top" or the frame's URL, for the record only.
// The functions returning bool give what the sinks left in the Cancel flag.
class CBrowserEvents {
public:
    explicit CBrowserEvents(CBrowserEventPoint& point) : m_point(point) {}

    bool BeforeNavigate2(IDispatch* disp, const std::wstring& url, const std::wstring& frameName);
    void NavigateComplete2(IDispatch* disp, const std::wstring& url, const std::wstring& frameName);
    void DocumentComplete(IDispatch* disp, const std::wstring& url, const std::wstring& frameName);
    bool NavigateError(IDispatch* disp, const std::wstring& url, const std::wstring& frameName, LONG status);
    bool NewWindow3(const std::wstring& url, const std::wstring& context);

private:
    void FireUrlEvent(DISPID dispId, const wchar_t* name, IDispatch* disp, const std::wstring& url,
                      const std::wstring& frameName);

    CBrowserEventPoint& m_point;
};

} // namespace wxlmportal
