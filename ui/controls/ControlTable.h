#pragma once

namespace Tarvo {

class CControlUI;

// A new control of the class the skin element names (case-sensitive), or null for a name the
// framework does not know.
CControlUI* CreateControlByElement(const wchar_t* pstrElement);

} // namespace Tarvo
