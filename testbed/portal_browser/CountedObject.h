#pragma once

#include <windows.h>
#include <wrl/client.h>

namespace wxlmportal {

using Microsoft::WRL::ComPtr;

// Reference count of one COM object of this DLL. Every object is also counted in the module's
// live count, so a test can prove that a host gave back every reference it took.
class CCountedObject {
public:
    CCountedObject(const CCountedObject&) = delete;
    CCountedObject& operator=(const CCountedObject&) = delete;

    static LONG LiveObjects();
    static LONG ServerLocks();
    static void LockServer(bool lock);

protected:
    // kind names the object in the record's "object created/freed" lines; null records nothing.
    explicit CCountedObject(const wchar_t* kind);
    virtual ~CCountedObject();

    ULONG AddRefCount();
    ULONG ReleaseCount();

private:
    LONG m_refCount = 1;
    const wchar_t* m_kind;
};

// Wraps a new object (count 1) without a second reference.
template <class T> ComPtr<T> AdoptNew(T* object)
{
    // Not Attach: mingw-w64's takes a second reference.
    ComPtr<T> result;
    *result.GetAddressOf() = object;
    return result;
}

} // namespace wxlmportal
