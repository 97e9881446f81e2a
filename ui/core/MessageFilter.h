#pragma once

#include <windows.h>

namespace Tarvo {

// Asked for window messages before the paint manager turns them into events.
class IMessageFilterUI {
public:
    // Setting bHandled ends the processing of the message with the returned result.
    virtual LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

// Accelerator translation ahead of dispatch.
class ITranslateAccelerator {
public:
    // 0 consumes the message.
    virtual LRESULT TranslateKey(MSG* pMsg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

} // namespace Tarvo
