#pragma once

#include <windows.h>
#include <unknwn.h>

#include <initializer_list>
#include <utility>

// The host-side objects the tests hand to the stand-in browser. They live in the fixture, so
// they are never deleted through their count: a count back at 0 proves every reference the
// browser took was returned.
class TestComObject {
public:
    LONG Refs() const { return m_refs; }

protected:
    ULONG AddRefCount() { return static_cast<ULONG>(++m_refs); }
    ULONG ReleaseCount() { return static_cast<ULONG>(--m_refs); }

    // Answers the listed interface ids with the given interface pointers (each cast from the
    // interface to IUnknown, so the pointer value is the interface's).
    HRESULT Answer(REFIID riid, void** ppv, std::initializer_list<std::pair<const IID*, IUnknown*>> table)
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        for (const auto& entry : table) {
            if (riid == *entry.first) {
                *ppv = entry.second;
                entry.second->AddRef();
                return S_OK;
            }
        }
        return E_NOINTERFACE;
    }

private:
    LONG m_refs = 0;
};
