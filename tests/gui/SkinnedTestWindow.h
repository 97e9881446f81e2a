#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "core/WindowImplBase.h"

namespace guitest {

using namespace Tarvo;

// A plain control answering with the type name of a label or button, so that the window base's
// hit test can be checked without those classes' own behaviour.
class CStandInUI : public CControlUI {
public:
    explicit CStandInUI(std::wstring typeName) : m_typeName(std::move(typeName)) {}
    const wchar_t* TypeName() const override { return m_typeName.c_str(); }

private:
    std::wstring m_typeName;
};

// A skinned window whose skin is given as text or comes from a "ZIPRES" resource; unknown element
// names "FakeLabel" and "FakeButton" become stand-ins.
class CSkinnedTestWindow : public WindowImplBase {
public:
    // Skin text (starting with '<') or a document name.
    explicit CSkinnedTestWindow(std::wstring skin, UISkinSourceKind kind = SkinFromFile, std::wstring resourceId = L"");

    ~CSkinnedTestWindow() override;

    LPCWSTR WindowClassName() const override
    {
        return m_superclass.empty() ? L"TarvoSkinnedTestWnd" : L"TarvoSkinnedTestSuperWnd";
    }
    LPCWSTR SuperclassName() const override { return m_superclass.empty() ? nullptr : m_superclass.c_str(); }
    CUIString SkinFolder() override { return L""; }
    CUIString SkinFile() override { return m_skin.c_str(); }
    UISkinSourceKind SkinSourceKind() const override { return m_kind; }
    CUIString SkinResourceId() override { return m_resourceId.c_str(); }
    // For SkinFromZipFile, the resource id text names the zip file.
    CUIString SkinZipName() override { return m_resourceId.c_str(); }
    CControlUI* CreateCustomControl(const wchar_t* pstrClass) override;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void InitWindow() override { ++initCount; }

    // Makes the window superclass the given class (one base per process: the class name is fixed).
    void Superclass(std::wstring base) { m_superclass = std::move(base); }
    HWND CreateAt(HWND hOwner, int x, int y, DWORD dwStyle = WS_POPUP | WS_VISIBLE);
    CWindowManagerUI& Manager() { return m_pm; }
    POINT ScreenPoint(int x, int y) const;

    std::vector<WPARAM> closes; // wParam of every WM_CLOSE seen
    int initCount = 0;

private:
    std::wstring m_skin;
    UISkinSourceKind m_kind;
    std::wstring m_resourceId;
    std::wstring m_superclass;
};

// Dispatches the thread's pending messages.
void PumpMessages();
// Pumps until the condition holds (generous time-out).
bool PumpUntil(const std::function<bool()>& condition);
RECT WindowRectOf(HWND hWnd);
std::wstring RectText(const RECT& rc);

} // namespace guitest
