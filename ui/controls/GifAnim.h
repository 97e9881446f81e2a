#pragma once

#include <windows.h>
#include <objidl.h>
#include <wrl/client.h>

#include <vector>

#include "controls/Control.h"
#include "core/GdiplusPtr.h"

namespace Tarvo {

// An animated GIF ("bkimage", read like every skin image) drawn frame by frame over the
// control. Each frame stays for its own delay (10 ms units; 0 counts as 100 ms) on control timer
// 100. An image of one frame, or one GDI+ cannot read, never starts the timer; one GDI+ cannot
// read is drawn as far as the framework's own image loader gets with it.
class CGifAnimUI : public CControlUI {
public:
    static constexpr UINT FrameTimerId = 100;

    CGifAnimUI();
    ~CGifAnimUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void InitializeHook() override;
    void SetVisible(bool bVisible = true) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintBackgroundImage(HDC hDC) override;

    void SetBkImage(const wchar_t* pstrImage);
    bool IsAutoPlay() const { return m_bAutoPlay; }
    void SetAutoPlay(bool bAutoPlay) { m_bAutoPlay = bAutoPlay; }
    bool IsAutoSize() const { return m_bAutoSize; }
    void SetAutoSize(bool bAutoSize);

    // Starts or resumes the animation; false when there is nothing to animate.
    bool PlayGif();
    // Keeps the current frame.
    void PauseGif();
    // Back to the first frame.
    void StopGif();
    bool IsPlaying() const { return m_bPlaying; }

    // Loaded on demand (attached to a manager); 0 frames when the image cannot be read.
    UINT FrameCount() const { return m_nFrames; }
    UINT CurrentFrame() const { return m_nCurrentFrame; }
    // How long frame i stays, in milliseconds.
    UINT FrameDelayMs(UINT nFrame) const;
    SIZE ImageSize() const { return m_szImage; }

private:
    void LoadImage();
    void UnloadImage();
    bool ReadFrames();
    void ApplyAutoSize();
    void OnFrameTimer();
    bool StartFrameTimer();

    bool m_bAutoPlay = true;
    bool m_bAutoSize = false;
    bool m_bPlaying = false;
    bool m_bLoadAttempted = false;
    UINT m_nFrames = 0;
    UINT m_nCurrentFrame = 0;
    SIZE m_szImage = {0, 0};
    std::vector<UINT> m_frameDelays;
    // GDI+ reads the frames from the stream while the image lives.
    Microsoft::WRL::ComPtr<IStream> m_pStream;
    CUIGdiplusImage m_pImage;
};

} // namespace Tarvo
