#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/ControlTable.h"
#include "controls/VerticalLayout.h"
#include "core/DibSection.h"

#include <string>

using namespace controltest;

// Skins come from outside: the slider, GIF player, date and Flash controls given attribute values
// that make no sense must still lay out, take input and paint.
TEST(MoreControlsBadInputTest, NonsenseAttributeValuesAreHarmless)
{
    const wchar_t* names[] = {
        L"thumbimage", L"thumbhotimage", L"thumbpushedimage",
        L"thumbsize",  L"step",          L"sendmove",
        L"min",        L"max",           L"value",
        L"hor",        L"bkimage",       L"autoplay",
        L"autosize",   L"text",          L"clsid",
        L"modulename", L"delaycreate",   L"foreimage",
        L"width",      L"height",
    };
    const std::wstring longText(5000, L'x');
    const wchar_t* values[] = {
        L"",
        L"abc",
        L"-1",
        L"-2147483648",
        L"99999999999999999999",
        L"#",
        L"1,2",
        L",,,,",
        L"-9,-9,-9,-9",
        L"%s%n",
        L"{",
        L"{00000000-0000-0000-0000-000000000000}",
        L"file='x.gif' res='1' restype='GIF'",
        L"true",
        L"9999-99-99",
        longText.c_str(),
    };
    const wchar_t* elements[] = {L"Slider", L"GifAnim", L"DateTime", L"Flash"};
    CDibSectionUI canvas;
    ASSERT_TRUE(canvas.Create(160, 120));
    for (const wchar_t* pstrElement : elements) {
        ManagedTree<CVerticalLayoutUI> tree(RECT{0, 0, 160, 120});
        CControlUI* pControl = CreateControlByElement(pstrElement);
        ASSERT_NE(pControl, nullptr) << pstrElement;
        ASSERT_TRUE(tree.root->AddItem(pControl));
        for (const wchar_t* pstrValue : values) {
            for (const wchar_t* pstrName : names) {
                pControl->ApplyAttribute(pstrName, pstrValue);
            }
            tree.Layout(RECT{0, 0, 160, 120});
            for (const int type : {EventButtonDown, EventMouseMove, EventButtonUp, EventKeyDown, EventTimer}) {
                ControlEvent event;
                event.type = type;
                event.mousePoint = {80, 60};
                event.wParam = type == EventKeyDown ? VK_RIGHT : 100;
                pControl->HandleEvent(event);
            }
            tree.root->Paint(canvas.DC(), RECT{0, 0, 160, 120});
        }
        EXPECT_NE(pControl->LookupInterface(L"Control"), nullptr) << pstrElement;
    }
}
