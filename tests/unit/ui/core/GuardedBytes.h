#pragma once

#include <windows.h>

#include <string>

namespace wxlmtest {

// A copy of some bytes placed against an inaccessible page, so that a read past the end (or,
// with guardFront, before the start) faults at once instead of going unnoticed.
class GuardedBytes {
public:
    GuardedBytes(const std::string& bytes, bool guardFront = false);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    const void* Data() const { return m_pData; }
    DWORD Size() const { return m_nSize; }

private:
    BYTE* m_pBase = nullptr;
    BYTE* m_pData = nullptr;
    DWORD m_nSize = 0;
};

} // namespace wxlmtest
