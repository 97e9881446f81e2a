#pragma once

#include "core/UIString.h"

#include <windows.h>

namespace Tarvo {

class CSkinZip;

// What became of a "ZIPRES" resource. A resource that is absent or empty means the window has no
// skin of that kind; one that is there but does not open as an archive is a broken skin.
enum UIZipResourceState : int {
    ZipResourceOpened = 0,
    ZipResourceMissing = 1,
    ZipResourceUnreadable = 2,
};

// Where skin documents and images come from: process-wide, set on the window thread before and
// while windows are created. CWindowManagerUI offers these operations as its own statics.
class CResourceSettingsUI {
public:
    static void SetInstance(HINSTANCE hInstance);
    static HINSTANCE Instance();
    static void SetResourceInstance(HINSTANCE hInstance);
    // The resource instance, or the instance when none is set.
    static HINSTANCE ResourceModule();

    // A backslash is appended unless the path ends with one or with a slash; empty stays empty.
    static void SetResourcePath(LPCWSTR pstrPath);
    static const CUIString& ResourcePath();

    // A zip file below the resource path; bCached keeps it open for every later load. An empty
    // name means loose files.
    static void SetResourceZip(LPCWSTR pstrName, bool bCached = false);
    // A zip held in memory ("membuffer"); the bytes must outlive the cached archive. Once such an
    // archive is open, later calls keep it.
    static bool SetResourceZipMemory(const void* pBytes, DWORD dwSize);
    // The zip resource of type "ZIPRES" in the resource module, opened from memory.
    static UIZipResourceState SetResourceZipFromResource(LPCWSTR pstrResourceId);
    static const CUIString& ResourceZip();

    static bool IsZipCached();
    // The cached archive, or null.
    static CSkinZip* ZipHandle();
    static DWORD LastZipError();
    // Closes the cached archive and forgets the zip name.
    static void ReleaseZip();

    static constexpr const wchar_t* MEMBUFFER_ZIP = L"membuffer";
};

} // namespace Tarvo
