#pragma once

#include <windows.h>

#include <utility>

// A move-only owner of one native handle; Traits supplies the invalid value and the close call.
template <typename Traits> class ScopedHandle {
public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : m_handle(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(ScopedHandle&& other) noexcept : m_handle(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    Handle Get() const { return m_handle; }
    bool IsValid() const { return Traits::IsValid(m_handle); }
    explicit operator bool() const { return IsValid(); }

    Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }

    void Reset(Handle handle = Traits::Invalid())
    {
        Close();
        m_handle = handle;
    }

    // Closing keeps the caller's GetLastError() so that a failure can still be reported after cleanup.
    void Close()
    {
        if (!IsValid())
            return;
        const DWORD lastError = GetLastError();
        Traits::Close(std::exchange(m_handle, Traits::Invalid()));
        SetLastError(lastError);
    }

private:
    Handle m_handle = Traits::Invalid();
};

// Kernel objects: CreateFile reports failure with INVALID_HANDLE_VALUE, most others with null.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

using UniqueHandle = ScopedHandle<KernelHandleTraits>;
