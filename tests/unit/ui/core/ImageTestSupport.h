#pragma once

#include "core/UITypes.h"

#include <windows.h>

#include <string>
#include <vector>

namespace wxlmtest {

// The 2×2 picture most image tests use, 0xAARRGGBB top-down.
std::vector<uint32_t> SamplePixels();
std::string SamplePng();

// The pixels of a decoded image in memory order, checked to be a 32-bit DIB section of its size.
std::vector<uint32_t> DibPixels(const Tarvo::UIImageInfo& image);

// A copy of wxlm_main.exe with one more resource, loaded as a data file (the test exe has none).
class ModuleWithResource {
public:
    ModuleWithResource(const std::wstring& folder, const wchar_t* type, WORD id, const std::string& bytes);
    ~ModuleWithResource();
    ModuleWithResource(const ModuleWithResource&) = delete;
    ModuleWithResource& operator=(const ModuleWithResource&) = delete;
    HMODULE Get() const { return m_hModule; }

private:
    HMODULE m_hModule = nullptr;
};

} // namespace wxlmtest
