#include "controls/GifAnim.h"

#include "controls/AttributeValue.h"
#include "core/ImageSpec.h"
#include "core/ResourceSettings.h"
#include "core/SkinFile.h"
#include "core/WindowManager.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <memory>

namespace Tarvo {

namespace {

namespace Flat = Gdiplus::DllExports;

// Gdiplus::FrameDimensionTime, spelled out: the import library does not carry it everywhere.
constexpr GUID kFrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
constexpr PROPID kFrameDelayTag = 0x5100;
constexpr UINT kZeroDelayMs = 100;
constexpr DWORD kMaxGifBytes = 16 * 1024 * 1024;

Microsoft::WRL::ComPtr<IStream> StreamOf(const BYTE* pBytes, DWORD dwSize)
{
    Microsoft::WRL::ComPtr<IStream> pStream;
    // SHCreateMemStream copies the bytes, so the stream does not depend on the caller's buffer.
    *pStream.GetAddressOf() = ::SHCreateMemStream(pBytes, dwSize);
    return pStream;
}

Microsoft::WRL::ComPtr<IStream> ResourceStream(const std::wstring& name, const std::wstring& type)
{
    const HINSTANCE hModule = CResourceSettingsUI::ResourceModule();
    const HRSRC hResource = ::FindResourceW(hModule, name.c_str(), type.c_str());
    const HGLOBAL hData = hResource != nullptr ? ::LoadResource(hModule, hResource) : nullptr;
    const void* pBytes = hData != nullptr ? ::LockResource(hData) : nullptr;
    if (pBytes == nullptr) {
        return nullptr;
    }
    return StreamOf(static_cast<const BYTE*>(pBytes), ::SizeofResource(hModule, hResource));
}

// The skin route of every image: the zip or the resource folder, then the path itself.
Microsoft::WRL::ComPtr<IStream> SkinFileStream(const std::wstring& name)
{
    SkinFileBytes bytes;
    if (CSkinFileUI::Read(name.c_str(), kMaxGifBytes, bytes) != SkinFileResult::Ok &&
        CSkinFileUI::ReadFile(name.c_str(), kMaxGifBytes, bytes) != SkinFileResult::Ok) {
        return nullptr;
    }
    return StreamOf(bytes.pData.get(), bytes.dwSize);
}

} // namespace

CGifAnimUI::CGifAnimUI() = default;

CGifAnimUI::~CGifAnimUI()
{
    PauseGif();
}

const wchar_t* CGifAnimUI::TypeName() const
{
    return L"GifAnimUI";
}

void* CGifAnimUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"GifAnim") == 0) {
        return this;
    }
    return CControlUI::LookupInterface(pstrName);
}

void CGifAnimUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    if (std::wcscmp(pstrName, L"bkimage") == 0) {
        SetBkImage(v);
    } else if (std::wcscmp(pstrName, L"autoplay") == 0) {
        SetAutoPlay(ParseAttributeBool(v));
    } else if (std::wcscmp(pstrName, L"autosize") == 0) {
        SetAutoSize(ParseAttributeBool(v));
    } else {
        CControlUI::ApplyAttribute(pstrName, pstrValue);
    }
}

void CGifAnimUI::SetBkImage(const wchar_t* pstrImage)
{
    if (m_strBkImage == pstrImage) {
        return;
    }
    m_strBkImage = pstrImage;
    UnloadImage();
    if (m_pManager != nullptr) {
        LoadImage();
    }
    Repaint();
}

void CGifAnimUI::SetAutoSize(bool bAutoSize)
{
    m_bAutoSize = bAutoSize;
    ApplyAutoSize();
}

void CGifAnimUI::InitializeHook()
{
    if (!m_bLoadAttempted) {
        LoadImage();
    }
}

void CGifAnimUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    // A hidden animation keeps its frame; it goes on when shown again.
    if (!bVisible) {
        const bool bWasPlaying = m_bPlaying;
        PauseGif();
        m_bPlaying = bWasPlaying;
    } else if (m_bPlaying) {
        StartFrameTimer();
    }
}

void CGifAnimUI::UnloadImage()
{
    PauseGif();
    m_pImage.reset();
    m_pStream.Reset();
    m_frameDelays.clear();
    m_nFrames = 0;
    m_nCurrentFrame = 0;
    m_szImage = {0, 0};
    m_bLoadAttempted = false;
}

void CGifAnimUI::LoadImage()
{
    m_bLoadAttempted = true;
    if (m_strBkImage.IsEmpty()) {
        return;
    }
    const std::vector<UIImageSpec> images = ParseImageSpec(m_strBkImage, nullptr, m_rcItem);
    if (images.empty() || images.front().name.empty()) {
        return;
    }
    const UIImageSpec& image = images.front();
    m_pStream = image.resourceType.empty() ? SkinFileStream(image.name) : ResourceStream(image.name, image.resourceType);
    if (!m_pStream || !ReadFrames()) {
        UnloadImage();
        m_bLoadAttempted = true;
        return;
    }
    ApplyAutoSize();
    if (m_bAutoPlay) {
        PlayGif();
    }
}

bool CGifAnimUI::ReadFrames()
{
    Gdiplus::GpImage* pImage = nullptr;
    if (Flat::GdipLoadImageFromStream(m_pStream.Get(), &pImage) != Gdiplus::Ok || pImage == nullptr) {
        return false;
    }
    m_pImage.reset(pImage);
    UINT nFrames = 0;
    UINT cx = 0;
    UINT cy = 0;
    if (Flat::GdipImageGetFrameCount(pImage, &kFrameDimensionTime, &nFrames) != Gdiplus::Ok || nFrames == 0 ||
        Flat::GdipGetImageWidth(pImage, &cx) != Gdiplus::Ok || Flat::GdipGetImageHeight(pImage, &cy) != Gdiplus::Ok) {
        return false;
    }
    m_nFrames = nFrames;
    m_szImage = {static_cast<LONG>(cx), static_cast<LONG>(cy)};
    m_frameDelays.assign(nFrames, 0);
    UINT nSize = 0;
    if (Flat::GdipGetPropertyItemSize(pImage, kFrameDelayTag, &nSize) != Gdiplus::Ok ||
        nSize < sizeof(Gdiplus::PropertyItem)) {
        return true;
    }
    // The item is followed by its value: one 32-bit delay per frame, in 10 ms units.
    auto buffer = std::make_unique<BYTE[]>(nSize);
    auto* pItem = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.get());
    if (Flat::GdipGetPropertyItem(pImage, kFrameDelayTag, nSize, pItem) != Gdiplus::Ok || pItem->value == nullptr) {
        return true;
    }
    const UINT nDelays = std::min<UINT>(nFrames, pItem->length / sizeof(LONG));
    const auto* pDelays = static_cast<const LONG*>(pItem->value);
    for (UINT i = 0; i < nDelays; ++i) {
        m_frameDelays[i] = static_cast<UINT>(std::max<LONG>(pDelays[i], 0));
    }
    return true;
}

void CGifAnimUI::ApplyAutoSize()
{
    if (m_bAutoSize && m_nFrames > 0) {
        SetDeclaredWidth(m_szImage.cx);
        SetDeclaredHeight(m_szImage.cy);
    }
}

UINT CGifAnimUI::FrameDelayMs(UINT nFrame) const
{
    if (nFrame >= m_frameDelays.size() || m_frameDelays[nFrame] == 0) {
        return kZeroDelayMs;
    }
    // Beyond about 49 days a delay is as good as forever; the product must not wrap.
    return std::min<UINT>(m_frameDelays[nFrame], USER_TIMER_MAXIMUM / 10) * 10;
}

bool CGifAnimUI::StartFrameTimer()
{
    if (m_pManager == nullptr) {
        return false;
    }
    m_pManager->StopTimer(this, FrameTimerId);
    return m_pManager->StartTimer(this, FrameTimerId, FrameDelayMs(m_nCurrentFrame));
}

bool CGifAnimUI::PlayGif()
{
    if (!m_bLoadAttempted && m_pManager != nullptr) {
        LoadImage();
    }
    if (m_nFrames < 2) {
        return false;
    }
    m_bPlaying = IsVisible() ? StartFrameTimer() : true;
    return m_bPlaying;
}

void CGifAnimUI::PauseGif()
{
    m_bPlaying = false;
    if (m_pManager != nullptr) {
        m_pManager->StopTimer(this, FrameTimerId);
    }
}

void CGifAnimUI::StopGif()
{
    PauseGif();
    if (m_nCurrentFrame != 0) {
        m_nCurrentFrame = 0;
        Repaint();
    }
}

void CGifAnimUI::OnFrameTimer()
{
    if (!m_bPlaying || m_nFrames < 2) {
        PauseGif();
        return;
    }
    m_nCurrentFrame = (m_nCurrentFrame + 1) % m_nFrames;
    Repaint();
    StartFrameTimer();
}

void CGifAnimUI::HandleEvent(ControlEvent& event)
{
    if (event.type == EventTimer && event.wParam == FrameTimerId) {
        OnFrameTimer();
    }
}

void CGifAnimUI::PaintBackgroundImage(HDC hDC)
{
    if (!m_bLoadAttempted && m_pManager != nullptr) {
        LoadImage();
    }
    if (!m_pImage) {
        CControlUI::PaintBackgroundImage(hDC);
        return;
    }
    Gdiplus::GpGraphics* pGraphics = nullptr;
    if (Flat::GdipCreateFromHDC(hDC, &pGraphics) != Gdiplus::Ok) {
        return;
    }
    CUIGdiplusGraphics graphics(pGraphics);
    RECT rcClip = {};
    if (!::IntersectRect(&rcClip, &m_rcItem, &m_rcPaint)) {
        return;
    }
    Flat::GdipSetClipRectI(pGraphics, rcClip.left, rcClip.top, rcClip.right - rcClip.left, rcClip.bottom - rcClip.top,
                           Gdiplus::CombineModeReplace);
    Flat::GdipImageSelectActiveFrame(m_pImage.get(), &kFrameDimensionTime, m_nCurrentFrame);
    Flat::GdipDrawImageRectI(pGraphics, m_pImage.get(), m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                             m_rcItem.bottom - m_rcItem.top);
}

} // namespace Tarvo
