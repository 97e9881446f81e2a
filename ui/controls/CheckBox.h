#pragma once

#include "controls/Option.h"

namespace Tarvo {

// An option under its own type name; without a group it toggles on every click.
class CCheckBoxUI : public COptionUI {
public:
    const wchar_t* TypeName() const override;
};

} // namespace Tarvo
