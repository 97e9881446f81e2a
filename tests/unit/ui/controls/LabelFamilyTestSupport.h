#pragma once

// Fixtures for the label family's tests without a window: a windowless manager whose resource
// folder is a fresh temp folder of generated images, and a canvas to paint into.

#include "BmpWriter.h"
#include "ControlTestSupport.h"
#include "TestFiles.h"
#include "core/DibSection.h"
#include "core/ResourceSettings.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

namespace controltest {

using wxlmtest::EncodeBmp;

// A windowless manager reading images from a temp folder, and a canvas of the given size.
constexpr DWORD kCanvasFill = 0x0A0B0C;

class SkinCanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str());
        manager.AddListener(&notifications);
    }
    void TearDown() override
    {
        manager.RemoveListener(&notifications);
        CResourceSettingsUI::SetResourcePath(L"");
    }

    void WriteSolidImage(const wchar_t* pstrName, DWORD rgb, int width = 4, int height = 4)
    {
        WriteImage(pstrName, width, height, [rgb](int, int) { return rgb; });
    }
    void WriteImage(const wchar_t* pstrName, int width, int height, const std::function<DWORD(int, int)>& pixel)
    {
        ASSERT_TRUE(wxlmtest::WriteFileBytes(m_dir / pstrName, EncodeBmp(width, height, pixel)));
    }

    bool MakeCanvas(int width, int height)
    {
        if (!canvas.Create(width, height)) {
            return false;
        }
        std::fill_n(canvas.Bits(), width * height, 0xFF000000 | kCanvasFill);
        return true;
    }
    void Paint(CControlUI& control) { control.Paint(canvas.DC(), RECT{0, 0, canvas.Width(), canvas.Height()}); }
    DWORD Rgb(int x, int y)
    {
        ::GdiFlush();
        return canvas.At(x, y) & 0xFFFFFF;
    }
    // Every canvas pixel outside rc still has the fill.
    bool UntouchedOutside(const RECT& rc)
    {
        ::GdiFlush();
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                const POINT pt = {x, y};
                if (!::PtInRect(&rc, pt) && (canvas.At(x, y) & 0xFFFFFF) != kCanvasFill) {
                    return false;
                }
            }
        }
        return true;
    }

    wxlmtest::TempDir m_dir;
    NotificationLog notifications;
    CWindowManagerUI manager;
    CDibSectionUI canvas;
};

} // namespace controltest
