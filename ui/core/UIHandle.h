#pragma once

#include <windows.h>

#include <utility>

namespace Tarvo {

// Move-only owner of one native handle; Traits gives the invalid value and the close call.
template <typename Traits> class CUIScopedHandle {
public:
    using Handle = typename Traits::Handle;

    CUIScopedHandle() = default;
    explicit CUIScopedHandle(Handle handle) : m_handle(handle) {}
    ~CUIScopedHandle() { Close(); }
    CUIScopedHandle(CUIScopedHandle&& other) noexcept : m_handle(other.Release()) {}
    CUIScopedHandle& operator=(CUIScopedHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_handle = other.Release();
        }
        return *this;
    }
    CUIScopedHandle(const CUIScopedHandle&) = delete;
    CUIScopedHandle& operator=(const CUIScopedHandle&) = delete;

    Handle Get() const { return m_handle; }
    bool IsValid() const { return Traits::IsValid(m_handle); }
    explicit operator bool() const { return IsValid(); }
    Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }

    void Reset(Handle handle = Traits::Invalid())
    {
        Close();
        m_handle = handle;
    }

    // Keeps GetLastError() so that a failure can still be reported after the clean-up.
    void Close()
    {
        if (!IsValid()) {
            return;
        }
        const DWORD dwLastError = ::GetLastError();
        Traits::Close(std::exchange(m_handle, Traits::Invalid()));
        ::SetLastError(dwLastError);
    }

private:
    Handle m_handle = Traits::Invalid();
};

// CreateFile reports failure with INVALID_HANDLE_VALUE, most other kernel calls with null.
struct UIKernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { ::CloseHandle(handle); }
};

using CUIKernelHandle = CUIScopedHandle<UIKernelHandleTraits>;

} // namespace Tarvo
