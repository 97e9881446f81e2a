#include "CountedObject.h"

#include "RecordFile.h"

namespace wxlmportal {

namespace {
LONG g_liveObjects = 0;
LONG g_serverLocks = 0;
} // namespace

CCountedObject::CCountedObject(const wchar_t* kind) : m_kind(kind)
{
    ::InterlockedIncrement(&g_liveObjects);
    if (m_kind != nullptr) {
        CRecordFile::Append({L"object", L"created", m_kind});
    }
}

CCountedObject::~CCountedObject()
{
    const LONG live = ::InterlockedDecrement(&g_liveObjects);
    if (m_kind != nullptr) {
        CRecordFile::Append({L"object", L"freed", m_kind, L"live=" + std::to_wstring(live)});
    }
}

ULONG CCountedObject::AddRefCount()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_refCount));
}

ULONG CCountedObject::ReleaseCount()
{
    const LONG count = ::InterlockedDecrement(&m_refCount);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

LONG CCountedObject::LiveObjects()
{
    return g_liveObjects;
}

LONG CCountedObject::ServerLocks()
{
    return g_serverLocks;
}

void CCountedObject::LockServer(bool lock)
{
    if (lock) {
        ::InterlockedIncrement(&g_serverLocks);
    } else {
        ::InterlockedDecrement(&g_serverLocks);
    }
}

} // namespace wxlmportal
