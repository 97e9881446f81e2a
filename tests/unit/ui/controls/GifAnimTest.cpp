#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/ControlTable.h"
#include "controls/GifAnim.h"

#include <memory>

using namespace controltest;

TEST(GifAnimTest, ElementTypeNameInterfacesAndDefaults)
{
    std::unique_ptr<CControlUI> pControl(CreateControlByElement(L"GifAnim"));
    ASSERT_NE(pControl, nullptr);
    EXPECT_STREQ(pControl->TypeName(), L"GifAnimUI");
    EXPECT_EQ(pControl->LookupInterface(L"GifAnim"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"Control"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"Label"), nullptr);
    auto* pGif = static_cast<CGifAnimUI*>(pControl.get());
    EXPECT_TRUE(pGif->IsAutoPlay());
    EXPECT_FALSE(pGif->IsAutoSize());
    EXPECT_EQ(pGif->FrameCount(), 0u);
    EXPECT_EQ(pGif->FrameDelayMs(0), 100u);
}

TEST(GifAnimTest, NothingToPlayWithoutAnImageOrAWindow)
{
    ManagedTree<CGifAnimUI> tree(RECT{0, 0, 50, 50});
    CGifAnimUI& gif = *tree.root;
    EXPECT_FALSE(gif.PlayGif());
    gif.ApplyAttribute(L"bkimage", L"no-such-file.gif");
    EXPECT_FALSE(gif.PlayGif());
    EXPECT_FALSE(gif.IsPlaying());
    gif.StopGif();
    EXPECT_EQ(gif.CurrentFrame(), 0u);
    // Events other than its timer are not passed on (to a parent, as notifications).
    for (const int type : {EventButtonDown, EventSetFocus, EventTimer, EventContextMenu}) {
        ControlEvent event;
        event.type = type;
        event.wParam = 7;
        gif.HandleEvent(event);
    }
    EXPECT_TRUE(tree.notifications.Types().empty());
}
