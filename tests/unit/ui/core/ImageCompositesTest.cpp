// Composed images must put exactly the pixels on the target that scaling the pieces directly puts
// there, for every form of image description, and any change of what the composite depends on
// must lead to a fresh one.
#include "core/ImageComposites.h"
#include "core/SkinRender.h"
#include "core/UIClip.h"
#include "core/WindowManager.h"

#include "PngWriter.h"
#include "RenderTestCanvas.h"
#include "ScopedResourceSettings.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Tarvo;
using namespace rendertest;
using namespace wxlmtest;

namespace {

constexpr int kCanvasWidth = 200;
constexpr int kCanvasHeight = 150;

// Varied enough that HALFTONE averaging and nearest sampling give different pixels.
DWORD OpaquePixel(int x, int y)
{
    return 0xFF000000 | static_cast<DWORD>(((x * 37) ^ (y * 11)) & 0xFF) << 16 |
           static_cast<DWORD>((x * 5 + y * 23) & 0xFF) << 8 | static_cast<DWORD>((x * y * 7) & 0xFF);
}

// Straight (not premultiplied) RGBA as a PNG holds it; alpha varies from clear to opaque.
DWORD TranslucentPixel(int x, int y)
{
    const DWORD alpha = static_cast<DWORD>((x * 16 + y * 9) & 0xFF);
    return alpha << 24 | (OpaquePixel(x, y) & 0x00FFFFFF);
}

DWORD BackgroundPixel(int x, int y)
{
    return 0xFF000000 | static_cast<DWORD>((x * 3) & 0xFF) << 16 | static_cast<DWORD>((y * 5) & 0xFF) << 8 | 0x40;
}

std::vector<uint32_t> Pixels(int width, int height, DWORD (*pixel)(int, int))
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(pixel(x, y));
        }
    }
    return pixels;
}

struct PaintCase {
    const wchar_t* description;
    RECT item;
    RECT paint;
    bool bComposed;        // whether a composite is made (a plain unscaled copy needs none, a cut piece
                           // is scaled directly)
    bool bLayeredComposed; // the same in a layered window, where every image is alpha-blended
};

class ImageCompositesTest : public testing::Test {
protected:
    void SetUp() override
    {
        CImageCompositesUI::ForgetAll();
        CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
        WriteImage(L"opaque.png", 24, 20, OpaquePixel);
        WriteImage(L"translucent.png", 24, 20, TranslucentPixel);
        WriteImage(L"other.png", 24, 20, [](int x, int y) { return OpaquePixel(y, x); });
    }
    void TearDown() override { CImageCompositesUI::ForgetAll(); }

    void WriteImage(const wchar_t* name, int width, int height, DWORD (*pixel)(int, int))
    {
        ASSERT_TRUE(WriteFileBytes(m_dir / name, EncodePng(width, height, Pixels(width, height, pixel))));
    }

    // One paint of the description onto a fresh patterned canvas, clipped to rcClip when given;
    // every pixel of the canvas.
    std::vector<DWORD> Paint(CWindowManagerUI& manager, const wchar_t* description, const RECT& rcItem,
                             const RECT& rcPaint, const RECT* pClip = nullptr,
                             SIZE size = {kCanvasWidth, kCanvasHeight})
    {
        auto canvas = MakeCanvas(size.cx, size.cy, 0);
        for (int y = 0; y < size.cy; ++y) {
            for (int x = 0; x < size.cx; ++x) {
                canvas->At(x, y) = BackgroundPixel(x, y);
            }
        }
        UIClip clip;
        if (pClip != nullptr) {
            clip.ClipToRect(canvas->DC(), *pClip);
        }
        CSkinRender::PaintImageSpec(canvas->DC(), &manager, rcItem, rcPaint, description);
        if (pClip != nullptr) {
            clip.Restore();
        }
        ::GdiFlush();
        return std::vector<DWORD>(canvas->Bits(), canvas->Bits() + static_cast<size_t>(size.cx) * size.cy);
    }

    // The first paint of a key scales directly; later ones come from its composite.
    void ExpectSamePixelsCachedAndUncached(CWindowManagerUI& manager, const PaintCase& c, bool bComposed,
                                           const RECT* pClip = nullptr)
    {
        CImageCompositesUI::ForgetAll();
        const std::vector<DWORD> direct = Paint(manager, c.description, c.item, c.paint, pClip);
        EXPECT_EQ(CImageCompositesUI::Count(), 0) << "nothing is composed at the first sight";
        const std::vector<DWORD> composing = Paint(manager, c.description, c.item, c.paint, pClip);
        const int composed = CImageCompositesUI::Count();
        const std::vector<DWORD> reused = Paint(manager, c.description, c.item, c.paint, pClip);
        EXPECT_EQ(CImageCompositesUI::Count(), composed) << "the second paint's composite is reused";
        EXPECT_EQ(composed > 0, bComposed);
        for (size_t i = 0; i < direct.size(); ++i) {
            ASSERT_EQ(composing[i], direct[i]) << "pixel " << i % kCanvasWidth << "," << i / kCanvasWidth;
            ASSERT_EQ(reused[i], direct[i]) << "pixel " << i % kCanvasWidth << "," << i / kCanvasWidth;
        }
    }

    ScopedResourceSettings m_settings;
    TempDir m_dir;
    CWindowManagerUI m_manager;
};

const RECT kWhole = {0, 0, kCanvasWidth, kCanvasHeight};
const RECT kItem = {7, 5, 187, 141};

const PaintCase kCases[] = {
    {L"opaque.png", kItem, kWhole, true, true},
    {L"file='opaque.png' corner='4,5,6,7'", kItem, kWhole, true, true},
    {L"file='opaque.png' corner='4,4,4,4' hole='true'", kItem, kWhole, true, true},
    {L"file='opaque.png' corner='3,3,3,3' xtiled='true'", kItem, kWhole, true, true},
    {L"file='opaque.png' corner='3,3,3,3' ytiled='true'", kItem, kWhole, true, true},
    {L"file='opaque.png' corner='3,3,3,3' xtiled='true' ytiled='true'", kItem, kWhole, true, true},
    {L"file='opaque.png' source='3,2,20,18' corner='2,2,2,2'", kItem, kWhole, true, true},
    {L"file='opaque.png' dest='10,10,150,90' corner='3,3,3,3'", kItem, kWhole, true, true},
    {L"file='opaque.png' corner='3,3,3,3' fade='128'", kItem, kWhole, true, true},
    {L"file='translucent.png' corner='5,5,5,5'", kItem, kWhole, true, true},
    {L"file='translucent.png' corner='5,5,5,5' fade='200' xtiled='true'", kItem, kWhole, true, true},
    {L"file='translucent.png' source='2,2,22,18' hole='true' corner='4,4,4,4' ytiled='true'", kItem, kWhole, true, true},
    {L"file='opaque.png' dest='0,0,40,40' corner='2,2,2,2' file='translucent.png' dest='50,0,190,60'", kItem, kWhole,
     true, true},
    // Only the pieces that meet the paint rectangle are drawn, whole.
    {L"file='opaque.png' corner='6,6,6,6'", kItem, {0, 0, 60, 40}, true, true},
    {L"file='translucent.png' corner='6,6,6,6' fade='90'", kItem, {100, 120, 120, 150}, true, true},
    // An item reaching past the canvas: its cut pieces are scaled directly.
    {L"file='opaque.png' corner='4,4,4,4'", {-30, -20, 230, 170}, kWhole, false, false},
    // A plain unscaled copy is one BitBlt already.
    {L"file='opaque.png' dest='10,10,34,30'", kItem, kWhole, false, true},
    {L"file='opaque.png' source='4,4,14,14' dest='10,10,20,20'", kItem, kWhole, false, true},
};

} // namespace

TEST_F(ImageCompositesTest, CachedAndUncachedPaintsGiveTheSamePixels)
{
    for (const PaintCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "description " << testing::PrintToString(std::wstring(c.description)));
        ExpectSamePixelsCachedAndUncached(m_manager, c, c.bComposed);
    }
}

TEST_F(ImageCompositesTest, LayeredWindowsAndClipsGiveTheSamePixels)
{
    // A clip around the item leaves the pieces whole; one across it cuts them.
    const RECT rcAround = {2, 2, 198, 148};
    const RECT rcAcross = {20, 15, 120, 100};
    for (const PaintCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "description " << testing::PrintToString(std::wstring(c.description)));
        ExpectSamePixelsCachedAndUncached(m_manager, c, c.bComposed, &rcAround);
        ExpectSamePixelsCachedAndUncached(m_manager, c, false, &rcAcross);
    }
    CWindowManagerUI layered;
    layered.SetLayered(true);
    for (const PaintCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "layered " << testing::PrintToString(std::wstring(c.description)));
        ExpectSamePixelsCachedAndUncached(layered, c, c.bLayeredComposed);
    }
}

// After the base's composite exists, each changed input must paint what a fresh direct paint of
// it gives, and that must differ from the base (or the case would prove nothing).
TEST_F(ImageCompositesTest, ChangingAnyInputPaintsAfresh)
{
    const wchar_t* const base = L"file='translucent.png' corner='4,4,4,4'";
    struct Change {
        const wchar_t* what;
        const wchar_t* description;
        RECT item;
    };
    const Change changes[] = {
        {L"image", L"file='opaque.png' corner='4,4,4,4'", kItem},
        {L"size", base, {7, 5, 177, 141}},
        {L"corners", L"file='translucent.png' corner='6,4,4,4'", kItem},
        {L"fade", L"file='translucent.png' corner='4,4,4,4' fade='100'", kItem},
        {L"source", L"file='translucent.png' corner='4,4,4,4' source='1,0,24,20'", kItem},
        {L"hole", L"file='translucent.png' corner='4,4,4,4' hole='true'", kItem},
        {L"x tiling", L"file='translucent.png' corner='4,4,4,4' xtiled='true'", kItem},
        {L"y tiling", L"file='translucent.png' corner='4,4,4,4' ytiled='true'", kItem},
    };
    const std::vector<DWORD> basePixels = Paint(m_manager, base, kItem, kWhole);
    for (const Change& change : changes) {
        SCOPED_TRACE(testing::Message() << "changed " << testing::PrintToString(std::wstring(change.what)));
        CImageCompositesUI::ForgetAll();
        const std::vector<DWORD> expected = Paint(m_manager, change.description, change.item, kWhole);
        ASSERT_NE(expected, basePixels);
        Paint(m_manager, base, kItem, kWhole);
        Paint(m_manager, base, kItem, kWhole);
        ASSERT_GT(CImageCompositesUI::Count(), 0);
        EXPECT_EQ(Paint(m_manager, change.description, change.item, kWhole), expected);
        EXPECT_EQ(Paint(m_manager, change.description, change.item, kWhole), expected);
    }
}

// A manager's images die with it; a bitmap decoded later may get the same handle value.
TEST_F(ImageCompositesTest, ImagesLeavingTheirCacheTakeTheirCompositesAlong)
{
    const wchar_t* const description = L"file='swapped.png' corner='3,3,3,3'";
    WriteImage(L"swapped.png", 24, 20, OpaquePixel);
    std::vector<DWORD> before;
    {
        CWindowManagerUI first;
        Paint(first, description, kItem, kWhole);
        before = Paint(first, description, kItem, kWhole);
        ASSERT_EQ(CImageCompositesUI::Count(), 1);
    }
    EXPECT_EQ(CImageCompositesUI::Count(), 0);
    EXPECT_EQ(CImageCompositesUI::BytesHeld(), 0u);
    WriteImage(L"swapped.png", 24, 20, [](int x, int y) { return OpaquePixel(x + 3, y); });
    CWindowManagerUI second;
    const std::vector<DWORD> after = Paint(second, description, kItem, kWhole);
    EXPECT_NE(after, before);
    EXPECT_EQ(Paint(second, description, kItem, kWhole), after);
}

TEST_F(ImageCompositesTest, CompositesStayWithinTheBudget)
{
    // About 1000 x 1000 x 4 bytes each: four fit the budget, the oldest goes for a fifth.
    const SIZE szCanvas = {1000, 1000};
    const RECT rcCanvas = {0, 0, szCanvas.cx, szCanvas.cy};
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 5; ++i) {
            const RECT rcItem = {0, 0, 1000 - i, 1000};
            Paint(m_manager, L"file='opaque.png' corner='2,2,2,2'", rcItem, rcCanvas, nullptr, szCanvas);
            Paint(m_manager, L"file='opaque.png' corner='2,2,2,2'", rcItem, rcCanvas, nullptr, szCanvas);
            EXPECT_GE(CImageCompositesUI::Count(), 1);
            EXPECT_LE(CImageCompositesUI::BytesHeld(), CImageCompositesUI::BudgetBytes);
        }
    }
    EXPECT_EQ(CImageCompositesUI::Count(), 4);
    // One larger than the whole budget is drawn directly, every time.
    const SIZE szHuge = {2100, 2100};
    const RECT rcHuge = {0, 0, szHuge.cx, szHuge.cy};
    CImageCompositesUI::ForgetAll();
    Paint(m_manager, L"file='opaque.png' corner='2,2,2,2'", rcHuge, rcHuge, nullptr, szHuge);
    Paint(m_manager, L"file='opaque.png' corner='2,2,2,2'", rcHuge, rcHuge, nullptr, szHuge);
    EXPECT_EQ(CImageCompositesUI::Count(), 0);
}
