#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/ComboBox.h"
#include "controls/ControlTable.h"
#include "controls/List.h"
#include "controls/ListHeaderItem.h"
#include "controls/ListTextElement.h"
#include "controls/TreeNode.h"
#include "controls/TreeView.h"
#include "core/DibSection.h"

#include <memory>
#include <string>
#include <vector>

using namespace controltest;

// Skins come from outside: every attribute of the list, tree and combo family with values that
// make no sense must leave a control that still lays out and paints.
TEST(OtherControlsBadInputTest, NonsenseAttributeValuesAreHarmless)
{
    const wchar_t* names[] = {
        L"header", L"headerbkimage", L"scrollselect", L"multiexpanding", L"multiselect", L"itemfont", L"itemalign",
        L"itemendellipsis", L"itemtextpadding", L"itemtextcolor", L"itembkcolor", L"itembkimage", L"itemaltbk",
        L"itemselectedtextcolor", L"itemselectedbkcolor", L"itemselectedimage", L"itemhottextcolor",
        L"itemhotbkcolor", L"itemhotimage", L"itemdisabledtextcolor", L"itemdisabledbkcolor", L"itemdisabledimage",
        L"itemlinecolor", L"itemshowhtml", L"scaleheader", L"dragable", L"sepwidth", L"align", L"endellipsis", L"font",
        L"textcolor", L"textpadding", L"showhtml", L"normalimage", L"hotimage", L"pushedimage", L"focusedimage",
        L"sepimage", L"scale", L"selected", L"visiblefolderbtn", L"visiblecheckbtn", L"itemminwidth", L"text",
        L"horizattr", L"dotlineattr", L"folderattr", L"checkboxattr", L"itemattr", L"selitemtextcolor",
        L"selitemhottextcolor", L"defaultexpand", L"disabledimage", L"dropbox", L"dropboxsize", L"arrowimage",
        L"vscrollbar", L"childpadding",
    };
    const std::wstring longText(5000, L'x');
    const wchar_t* values[] = {
        L"", L"abc", L"-1", L"-2147483648", L"99999999999999999999", L"#", L"#GGGGGGGG", L"1,2", L",,,,", L"-9,-9,-9,-9",
        L"%s%n%s", L"width=\"", L"a=\"b\" c", L"{a x}link{/a}|{b}|", longText.c_str(),
    };
    const wchar_t* elements[] = {L"List",           L"ListHeader",       L"ListHeaderItem",       L"ListTextElement",
                                 L"ListLabelElement", L"ListContainerElement", L"TreeView", L"TreeNode",
                                 L"Combo",          L"ComboBox"};
    CDibSectionUI canvas;
    ASSERT_TRUE(canvas.Create(160, 120));
    for (const wchar_t* pstrElement : elements) {
        ManagedTree<CListUI> tree;
        CControlUI* pControl = CreateControlByElement(pstrElement);
        ASSERT_NE(pControl, nullptr) << pstrElement;
        auto* pList = tree.root;
        const bool bRow = pControl->LookupInterface(L"ListItem") != nullptr;
        std::unique_ptr<CControlUI> loose;
        if (bRow || pControl->LookupInterface(L"ListHeaderItem") != nullptr) {
            ASSERT_TRUE(pList->AddItem(pControl)) << pstrElement;
        } else {
            loose.reset(pControl);
            pControl->AttachTo(&tree.manager, nullptr, true);
        }
        for (const wchar_t* pstrValue : values) {
            for (const wchar_t* pstrName : names) {
                pControl->ApplyAttribute(pstrName, pstrValue);
                pList->ApplyAttribute(pstrName, pstrValue);
            }
            pControl->ApplyAttribute(nullptr, pstrValue);
            pControl->ApplyAttribute(L"text", nullptr);
            pList->SetPosition(RECT{0, 0, 160, 120});
            pControl->SetPosition(RECT{4, 4, 150, 40});
            pList->Paint(canvas.DC(), RECT{0, 0, 160, 120});
            pControl->Paint(canvas.DC(), RECT{0, 0, 160, 120});
        }
        EXPECT_GE(pControl->Width(), 0) << pstrElement;
    }

    CListHeaderItemUI item;
    item.ApplyAttribute(L"sepwidth", L"-40");
    EXPECT_EQ(item.SeparatorWidth(), 0);
    item.ApplyAttribute(L"scale", L"400");
    EXPECT_EQ(item.Scale(), 100);
    CTreeViewUI view;
    view.ApplyAttribute(L"itemminwidth", L"-50");
    EXPECT_EQ(view.ItemMinWidth(), 0);
    CComboUI combo;
    combo.ApplyAttribute(L"dropboxsize", L"abc");
    EXPECT_EQ(combo.DropBoxSize(), (SIZE{0, 150}));
}
