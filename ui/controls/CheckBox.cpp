#include "controls/CheckBox.h"

namespace Tarvo {

const wchar_t* CCheckBoxUI::TypeName() const
{
    return L"CheckBoxUI";
}

} // namespace Tarvo
