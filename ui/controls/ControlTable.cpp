#include "controls/ControlTable.h"

#include "controls/ActiveX.h"
#include "controls/Button.h"
#include "controls/CheckBox.h"
#include "controls/ChildLayout.h"
#include "controls/Combo.h"
#include "controls/ComboBox.h"
#include "controls/Container.h"
#include "controls/Control.h"
#include "controls/DateTime.h"
#include "controls/Edit.h"
#include "controls/Flash.h"
#include "controls/GifAnim.h"
#include "controls/HorizontalLayout.h"
#include "controls/Label.h"
#include "controls/List.h"
#include "controls/ListContainerElement.h"
#include "controls/ListHeader.h"
#include "controls/ListHeaderItem.h"
#include "controls/ListTextElement.h"
#include "controls/Option.h"
#include "controls/Progress.h"
#include "controls/RichEdit.h"
#include "controls/ScrollBar.h"
#include "controls/Slider.h"
#include "controls/TabLayout.h"
#include "controls/Text.h"
#include "controls/TileLayout.h"
#include "controls/TreeNode.h"
#include "controls/TreeView.h"
#include "controls/VerticalLayout.h"
#include "controls/WebBrowser.h"

#include <cwchar>

namespace Tarvo {

namespace {

template <class T> CControlUI* Make()
{
    return new T;
}

struct ControlTableEntry {
    const wchar_t* element;
    CControlUI* (*create)();
};

// One line per control class.
constexpr ControlTableEntry kControlTable[] = {
    {L"Control", &Make<CControlUI>},
    {L"Container", &Make<CContainerUI>},
    {L"VerticalLayout", &Make<CVerticalLayoutUI>},
    {L"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {L"TabLayout", &Make<CTabLayoutUI>},
    {L"TileLayout", &Make<CTileLayoutUI>},
    {L"ChildLayout", &Make<CChildLayoutUI>},
    {L"ScrollBar", &Make<CScrollBarUI>},
    {L"Label", &Make<CLabelUI>},
    {L"Text", &Make<CTextUI>},
    {L"Button", &Make<CButtonUI>},
    {L"Option", &Make<COptionUI>},
    {L"CheckBox", &Make<CCheckBoxUI>},
    {L"Progress", &Make<CProgressUI>},
    {L"ActiveX", &Make<CActiveXUI>},
    {L"WebBrowser", &Make<CWebBrowserUI>},
    {L"List", &Make<CListUI>},
    {L"ListHeader", &Make<CListHeaderUI>},
    {L"ListHeaderItem", &Make<CListHeaderItemUI>},
    {L"ListTextElement", &Make<CListTextElementUI>},
    {L"ListLabelElement", &Make<CListLabelElementUI>},
    {L"ListContainerElement", &Make<CListContainerElementUI>},
    {L"TreeView", &Make<CTreeViewUI>},
    {L"TreeNode", &Make<CTreeNodeUI>},
    {L"Combo", &Make<CComboUI>},
    {L"ComboBox", &Make<CComboBoxUI>},
    {L"Edit", &Make<CEditUI>},
    {L"RichEdit", &Make<CRichEditUI>},
    {L"Slider", &Make<CSliderUI>},
    {L"GifAnim", &Make<CGifAnimUI>},
    {L"DateTime", &Make<CDateTimeUI>},
    {L"Flash", &Make<CFlashUI>},
};

} // namespace

CControlUI* CreateControlByElement(const wchar_t* pstrElement)
{
    for (const ControlTableEntry& entry : kControlTable) {
        if (std::wcscmp(entry.element, pstrElement) == 0) {
            return entry.create();
        }
    }
    return nullptr;
}

} // namespace Tarvo
