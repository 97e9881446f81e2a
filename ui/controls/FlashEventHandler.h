#pragma once

#include <windows.h>

namespace Tarvo {

// Receives the events of a Flash object (_IShockwaveFlashEvents); the defaults do nothing.
// The control does not own its handler.
class CFlashEventHandler {
public:
    virtual ~CFlashEventHandler() = default;

    virtual void OnReadyStateChange(LONG /*nNewState*/) {}
    virtual void OnProgress(LONG /*nPercentDone*/) {}
    virtual void FSCommand(const wchar_t* /*pstrCommand*/, const wchar_t* /*pstrArgs*/) {}
    virtual void FlashCall(const wchar_t* /*pstrRequest*/) {}
};

} // namespace Tarvo
