#include <gtest/gtest.h>

#include "FakeOleObject.h"
#include "GifFixture.h"
#include "ListGuiSupport.h"
#include "ManagerFixture.h"
#include "SkinnedTestWindow.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "controls/DateTime.h"
#include "controls/DateTimeWnd.h"
#include "controls/GifAnim.h"
#include "controls/Slider.h"
#include "controls/VerticalLayout.h"
#include "core/SkinBuilder.h"

#include <commctrl.h>

#include <random>
#include <string>

using namespace guitest;

namespace {

constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr COLORREF kGreen = RGB(0, 0xFF, 0);
constexpr COLORREF kBlue = RGB(0, 0, 0xFF);

// Image names resolve against a folder of the test's own for the scope.
class ScopedResourcePath {
public:
    explicit ScopedResourcePath(const std::wstring& path) : m_saved(CWindowManagerUI::ResourcePath().GetData())
    {
        CWindowManagerUI::SetResourcePath(path.c_str());
    }
    ~ScopedResourcePath() { CWindowManagerUI::SetResourcePath(m_saved.c_str()); }
    ScopedResourcePath(const ScopedResourcePath&) = delete;
    ScopedResourcePath& operator=(const ScopedResourcePath&) = delete;

private:
    std::wstring m_saved;
};

// A white window whose vertical root holds the controls under test, with a notification recorder.
class OtherControlsGuiTest : public ::testing::Test {
protected:
    OtherControlsGuiTest()
    {
        root = new CVerticalLayoutUI;
        root->ApplyAttributeString(L"bkcolor=\"#FFFFFFFF\" inset=\"10,10,10,10\" childpadding=\"10\"");
        host.Manager().AttachRoot(root);
        host.Manager().AddListener(&recorder);
    }
    ~OtherControlsGuiTest() override { host.Manager().RemoveListener(&recorder); }

    template <class T> T* Add(const wchar_t* pstrAttributes)
    {
        auto* pControl = new T;
        pControl->ApplyAttributeString(pstrAttributes);
        root->AddItem(pControl);
        host.PaintNow(true);
        return pControl;
    }
    bool WriteGif(const std::wstring& name, const std::string& bytes)
    {
        return wxlmtest::WriteFileBytes(files / name, bytes);
    }
    COLORREF PixelAt(POINT pt)
    {
        host.PaintNow(true);
        return BackPixel(host.Manager(), pt.x, pt.y);
    }
    void Tick(CControlUI* pControl)
    {
        const UINT systemId = host.Manager().TimerSystemId(pControl, CGifAnimUI::FrameTimerId);
        ASSERT_NE(systemId, 0u);
        host.Send(WM_TIMER, systemId);
    }

    wxlmtest::TempDir files;
    TestHostWindow host{320, 240};
    ListNotificationRecorder recorder;
    CVerticalLayoutUI* root = nullptr;
};

HWND PickerOf(CDateTimeUI* pDate)
{
    return pDate->PickerWindow() != nullptr ? pDate->PickerWindow()->WindowHandle() : nullptr;
}

SYSTEMTIME PickerDate(HWND hPicker)
{
    SYSTEMTIME date = {};
    ::SendMessageW(hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    return date;
}

} // namespace

TEST_F(OtherControlsGuiTest, SliderThumbDragsWithTheMouseAndMovesWithTheKeys)
{
    ASSERT_TRUE(WriteGif(L"thumb.gif", MakeGif(10, 10, {{0, 0}})));
    ASSERT_TRUE(WriteGif(L"hot.gif", MakeGif(10, 10, {{1, 0}})));
    ASSERT_TRUE(WriteGif(L"pushed.gif", MakeGif(10, 10, {{2, 0}})));
    const ScopedResourcePath resources(files.Path());
    auto* pSlider = Add<CSliderUI>(L"height=\"20\" width=\"210\" thumbsize=\"10,10\" thumbimage=\"thumb.gif\" "
                                   L"thumbhotimage=\"hot.gif\" thumbpushedimage=\"pushed.gif\" sendmove=\"true\" "
                                   L"step=\"2\"");
    const RECT rc = pSlider->Position();
    ASSERT_EQ(rc.right - rc.left, 210);
    const int y = (rc.top + rc.bottom) / 2;
    EXPECT_EQ(PixelAt({rc.left + 5, y}), kRed) << "the thumb at the minimum";

    // Drag the thumb to the middle of the 200-pixel track.
    ::SendMessageW(host.Hwnd(), WM_MOUSEMOVE, 0, ClientPoint(rc.left + 5, y));
    EXPECT_EQ(PixelAt({rc.left + 5, y}), kGreen) << "the hot thumb";
    ::SendMessageW(host.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(rc.left + 5, y));
    EXPECT_EQ(PixelAt({rc.left + 5, y}), kBlue) << "the pushed thumb";
    for (int x = 25; x <= 105; x += 40) {
        ::SendMessageW(host.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(rc.left + x, y));
    }
    EXPECT_EQ(recorder.Count(L"movevaluechanged"), 3);
    EXPECT_EQ(recorder.Count(L"valuechanged"), 0);
    ::SendMessageW(host.Hwnd(), WM_LBUTTONUP, 0, ClientPoint(rc.left + 105, y));
    EXPECT_EQ(pSlider->Value(), 50);
    EXPECT_EQ(recorder.Count(L"valuechanged"), 1);
    EXPECT_EQ(PixelAt({rc.left + 105, y}), kGreen) << "released under the pointer: hot";
    EXPECT_EQ(PixelAt({rc.left + 5, y}), RGB(0xFF, 0xFF, 0xFF)) << "nothing left at the old place";
    host.Send(WM_MOUSELEAVE);
    EXPECT_EQ(PixelAt({rc.left + 105, y}), kRed) << "the pointer left";

    // The click gave the slider the focus; the arrows move it by its step.
    EXPECT_EQ(host.Manager().FocusControl(), pSlider);
    KeyPress(host.Hwnd(), VK_RIGHT);
    KeyPress(host.Hwnd(), VK_RIGHT);
    KeyPress(host.Hwnd(), VK_LEFT);
    EXPECT_EQ(pSlider->Value(), 52);
    EXPECT_EQ(recorder.Count(L"valuechanged"), 4);
    EXPECT_EQ(recorder.Last(L"valuechanged")->sender, pSlider);
}

TEST_F(OtherControlsGuiTest, DatePickedInTheNativePickerIsCopiedBack)
{
    auto* pDate = Add<CDateTimeUI>(L"height=\"24\" width=\"160\" text=\"2024-02-28\"");
    EXPECT_EQ(pDate->Text(), L"2024-02-28");
    ClickAt(host.Hwnd(), CenterOf(pDate->Position()));
    const HWND hPicker = PickerOf(pDate);
    ASSERT_NE(hPicker, nullptr);
    wchar_t szClass[32] = {};
    ::GetClassNameW(hPicker, szClass, 32);
    EXPECT_STREQ(szClass, L"DateTimeWnd");
    EXPECT_EQ(::GetParent(hPicker), host.Hwnd());
    EXPECT_TRUE(::IsWindowVisible(hPicker));
    EXPECT_EQ(::GetFocus(), hPicker);
    RECT rcPicker = {};
    ::GetWindowRect(hPicker, &rcPicker);
    ::MapWindowPoints(nullptr, host.Hwnd(), reinterpret_cast<POINT*>(&rcPicker), 2);
    EXPECT_EQ(activextest::RectText(rcPicker), activextest::RectText(pDate->Position()));
    SYSTEMTIME shown = PickerDate(hPicker);
    EXPECT_EQ(shown.wYear, 2024);
    EXPECT_EQ(shown.wMonth, 2);
    EXPECT_EQ(shown.wDay, 28);

    // The arrows pick a field of the picker and raise it (which field Right selects first differs
    // between systems); the control keeps its date meanwhile.
    KeyPress(hPicker, VK_RIGHT);
    KeyPress(hPicker, VK_UP);
    const SYSTEMTIME picked = PickerDate(hPicker);
    EXPECT_NE(CDateTimeUI::FormatDate(picked), L"2024-02-28");
    EXPECT_EQ(pDate->Text(), L"2024-02-28");

    // The focus goes elsewhere: the picker closes and its date is the control's.
    ::SetFocus(host.Hwnd());
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(hPicker); }));
    EXPECT_EQ(pDate->PickerWindow(), nullptr);
    EXPECT_EQ(pDate->Text(), CDateTimeUI::FormatDate(picked));
}

TEST_F(OtherControlsGuiTest, EscapeClosesThePickerWithoutCopying)
{
    auto* pDate = Add<CDateTimeUI>(L"height=\"24\" text=\"1999-12-31\"");
    host.Manager().SetFocusControl(pDate);
    KeyPress(host.Hwnd(), VK_SPACE);
    const HWND hPicker = PickerOf(pDate);
    ASSERT_NE(hPicker, nullptr);
    KeyPress(hPicker, VK_RIGHT);
    KeyPress(hPicker, VK_DOWN);
    EXPECT_NE(CDateTimeUI::FormatDate(PickerDate(hPicker)), L"1999-12-31");
    ::SendMessageW(hPicker, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(hPicker); }));
    EXPECT_EQ(pDate->Text(), L"1999-12-31");
    // Deleting the control while its picker is open takes the picker with it.
    ClickAt(host.Hwnd(), CenterOf(pDate->Position()));
    const HWND hSecond = PickerOf(pDate);
    ASSERT_NE(hSecond, nullptr);
    root->RemoveItem(pDate);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hSecond); }));
}

TEST_F(OtherControlsGuiTest, GifFramesAdvanceOnTheirOwnDelays)
{
    ASSERT_TRUE(WriteGif(L"anim.gif", MakeGif(8, 8, {{0, 10}, {1, 0}, {2, 20}})));
    const ScopedResourcePath resources(files.Path());
    auto* pGif = Add<CGifAnimUI>(L"bkimage=\"anim.gif\" autosize=\"true\"");
    ASSERT_EQ(pGif->FrameCount(), 3u);
    EXPECT_EQ(pGif->Width(), 8) << "autosize";
    EXPECT_EQ(pGif->Height(), 8);
    EXPECT_TRUE(pGif->IsPlaying()) << "autoplay";
    const POINT centre = CenterOf(pGif->Position());
    struct Step {
        UINT frame;
        UINT elapse;
        COLORREF color;
    };
    const Step steps[] = {{0, 100, kRed}, {1, 100, kGreen}, {2, 200, kBlue}, {0, 100, kRed}};
    for (const Step& step : steps) {
        EXPECT_EQ(pGif->CurrentFrame(), step.frame);
        EXPECT_EQ(host.Manager().TimerElapse(pGif, CGifAnimUI::FrameTimerId), step.elapse) << step.frame;
        EXPECT_EQ(PixelAt(centre), step.color) << step.frame;
        Tick(pGif);
    }
    EXPECT_EQ(pGif->CurrentFrame(), 1u);

    pGif->PauseGif();
    EXPECT_EQ(host.Manager().TimerElapse(pGif, CGifAnimUI::FrameTimerId), 0u);
    EXPECT_EQ(pGif->CurrentFrame(), 1u);
    EXPECT_TRUE(pGif->PlayGif());
    EXPECT_EQ(host.Manager().TimerElapse(pGif, CGifAnimUI::FrameTimerId), 100u);
    pGif->StopGif();
    EXPECT_EQ(pGif->CurrentFrame(), 0u);
    EXPECT_FALSE(pGif->IsPlaying());
    EXPECT_EQ(PixelAt(centre), kRed);
}

TEST_F(OtherControlsGuiTest, GifWithoutAutoplayWaitsAndOtherTimersPassUnseen)
{
    const std::wstring path = files / L"still.gif";
    ASSERT_TRUE(wxlmtest::WriteFileBytes(path, MakeGif(8, 8, {{2, 5}, {1, 5}})));
    auto* pGif = Add<CGifAnimUI>((L"height=\"20\" autoplay=\"false\" bkimage=\"" + path + L"\"").c_str());
    EXPECT_EQ(pGif->FrameCount(), 2u) << "a full path works too";
    EXPECT_FALSE(pGif->IsPlaying());
    EXPECT_EQ(host.Manager().TimerSystemId(pGif, CGifAnimUI::FrameTimerId), 0u);
    ASSERT_TRUE(pGif->PlayGif());
    EXPECT_EQ(host.Manager().TimerElapse(pGif, CGifAnimUI::FrameTimerId), 50u);
    ASSERT_TRUE(host.Manager().StartTimer(pGif, 7, 1000));
    host.Send(WM_TIMER, host.Manager().TimerSystemId(pGif, 7));
    EXPECT_EQ(pGif->CurrentFrame(), 0u) << "only timer 100 advances";
    EXPECT_EQ(recorder.Count(L"timer"), 0) << "and nothing is passed on";
}

TEST_F(OtherControlsGuiTest, BrokenOrStillGifsNeverStartTheTimer)
{
    const std::string full = MakeGif(8, 8, {{0, 10}, {1, 10}, {2, 10}});
    struct Case {
        const wchar_t* name;
        std::string bytes;
        UINT frames;
        COLORREF centre;
    };
    const Case cases[] = {
        {L"single.gif", MakeGif(8, 8, {{1, 10}}), 1, kGreen},
        {L"empty.gif", MakeGif(8, 8, {}), 0, RGB(0xFF, 0xFF, 0xFF)},
        {L"truncated.gif", full.substr(0, 40), 0, CLR_INVALID},
        {L"notagif.gif", "GIF89a but nothing else", 0, RGB(0xFF, 0xFF, 0xFF)},
        {L"missing.gif", "", 0, RGB(0xFF, 0xFF, 0xFF)},
    };
    const ScopedResourcePath resources(files.Path());
    for (const Case& c : cases) {
        if (!c.bytes.empty()) {
            ASSERT_TRUE(WriteGif(c.name, c.bytes));
        }
        auto* pGif = Add<CGifAnimUI>((L"width=\"40\" height=\"20\" bkimage=\"" + std::wstring(c.name) + L"\"").c_str());
        EXPECT_EQ(pGif->FrameCount(), c.frames) << c.name;
        EXPECT_FALSE(pGif->PlayGif()) << c.name;
        EXPECT_EQ(host.Manager().TimerSystemId(pGif, CGifAnimUI::FrameTimerId), 0u) << c.name;
        const COLORREF centre = PixelAt(CenterOf(pGif->Position()));
        if (c.centre != CLR_INVALID) {
            EXPECT_EQ(centre, c.centre) << c.name;
        }
        root->RemoveItem(pGif);
    }
}

// A mutation driver for the GIF player's image stream (decoded by the system's GDI+): seeded
// random damage to a three-frame GIF, from byte flips to a huge logical screen, is shown or
// refused as a whole; the frame timer runs only for an image of two frames or more, within
// the system's timer limits, and the current frame stays inside the image.
TEST_F(OtherControlsGuiTest, DamagedGifStreamsAreShownOrRefusedWhole)
{
    const std::string full = MakeGif(8, 8, {{0, 10}, {1, 0}, {2, 20}});
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const ScopedResourcePath resources(files.Path());
    int nPlaying = 0;
    int nRefused = 0;
    for (int i = 0; i < 150; ++i) {
        std::string bytes = full;
        for (unsigned n = 1 + random() % 6; n > 0; --n) {
            const size_t at = random() % bytes.size();
            switch (random() % 5) {
            case 0: bytes[at] = static_cast<char>(random()); break;
            case 1: bytes.resize(at); break;
            case 2: bytes.insert(at, 1 + random() % 64, static_cast<char>(random())); break;
            case 3: bytes.erase(at, 1 + random() % 8); break;
            default: // a width, height or delay field to an extreme
                if (bytes.size() > 9) {
                    bytes[6 + random() % 4] = '\xFF';
                }
                break;
            }
            if (bytes.empty()) {
                bytes = "G";
            }
        }
        const std::wstring name = L"damaged" + std::to_wstring(i) + L".gif";
        ASSERT_TRUE(WriteGif(name, bytes));
        auto* pGif = Add<CGifAnimUI>((L"width=\"40\" height=\"20\" bkimage=\"" + name + L"\"").c_str());
        const UINT nFrames = pGif->FrameCount();
        const UINT systemId = host.Manager().TimerSystemId(pGif, CGifAnimUI::FrameTimerId);
        if (nFrames >= 2) {
            ++nPlaying;
            ASSERT_TRUE(pGif->IsPlaying()) << i;
            for (int tick = 0; tick < 4; ++tick) {
                const UINT elapse = host.Manager().TimerElapse(pGif, CGifAnimUI::FrameTimerId);
                ASSERT_GE(elapse, 10u) << i;
                ASSERT_LE(elapse, static_cast<UINT>(USER_TIMER_MAXIMUM)) << i;
                Tick(pGif);
                ASSERT_LT(pGif->CurrentFrame(), nFrames) << i;
                host.PaintNow(true);
            }
        } else {
            nRefused += nFrames == 0 ? 1 : 0;
            ASSERT_FALSE(pGif->IsPlaying()) << i;
            ASSERT_EQ(systemId, 0u) << i;
            ASSERT_FALSE(pGif->PlayGif()) << i;
        }
        root->RemoveItem(pGif);
    }
    EXPECT_GT(nPlaying, 0) << "some damage leaves a playable image";
    EXPECT_GT(nRefused, 0) << "some damage leaves nothing to show";
    // The window still shows a sound GIF afterwards.
    ASSERT_TRUE(WriteGif(L"sound.gif", full));
    auto* pGif = Add<CGifAnimUI>(L"width=\"40\" height=\"20\" bkimage=\"sound.gif\"");
    EXPECT_EQ(pGif->FrameCount(), 3u);
    EXPECT_EQ(PixelAt(CenterOf(pGif->Position())), kRed);
}

// The gallery skin of the other controls, built in a real window; its picture goes to the build tree.
TEST(OtherControlsGalleryTest, TheGallerySkinBuildsEveryControlAndSavesAPicture)
{
    const auto bytes = wxlmtest::ReadFileBytes(wxlmtest::SourceDir() + L"\\tests\\gui\\gallery\\OtherControls.xml");
    ASSERT_TRUE(bytes.has_value());
    const std::wstring text(bytes->begin(), bytes->end());
    const std::wstring skin = text.substr(text.find(L"<Window"));
    // The gallery's pictures are drawn here: a GIF of three frames, a thumb and a fill.
    wxlmtest::TempDir files;
    ASSERT_TRUE(wxlmtest::WriteFileBytes(files / L"gallery-anim.gif", MakeGif(24, 24, {{2, 10}, {1, 10}, {0, 10}})));
    ASSERT_TRUE(wxlmtest::WriteFileBytes(files / L"gallery-thumb.gif", MakeGif(12, 18, {{0, 0}})));
    ASSERT_TRUE(wxlmtest::WriteFileBytes(files / L"gallery-fill.gif", MakeGif(4, 4, {{2, 0}})));
    const ScopedResourcePath resources(files.Path());
    const activextest::ScopedOle ole; // for the Flash control

    TestHostWindow host{420, 260};
    CSkinBuilder builder;
    CControlUI* pRoot = builder.Create(skin.c_str(), nullptr, nullptr, &host.Manager(), nullptr);
    ASSERT_NE(pRoot, nullptr);
    host.Manager().AttachRoot(pRoot);
    host.PaintNow(true);
    CWindowManagerUI& pm = host.Manager();
    for (const auto& [name, type] : {std::pair{L"slider", L"SliderUI"},
                                     {L"vslider", L"SliderUI"},
                                     {L"gif", L"GifAnimUI"},
                                     {L"date", L"DateTimeUI"},
                                     {L"flash", L"Flash"}}) {
        ASSERT_NE(pm.ControlByName(name), nullptr) << name;
        EXPECT_STREQ(pm.ControlByName(name)->TypeName(), type);
    }
    EXPECT_EQ(pm.ControlByName(L"date")->Text(), L"2026-12-11");
    EXPECT_EQ(static_cast<CSliderUI*>(pm.ControlByName(L"slider"))->Value(), 60);
    EXPECT_EQ(static_cast<CGifAnimUI*>(pm.ControlByName(L"gif"))->FrameCount(), 3u);
    EXPECT_TRUE(SaveBackBuffer(pm, wxlmtest::BuildDir() + L"\\other-controls-gallery.bmp"));
}
