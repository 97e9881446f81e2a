#include "GuardedBytes.h"

#include <cstring>

namespace wxlmtest {

namespace {

DWORD PageSize()
{
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return info.dwPageSize;
}

} // namespace

GuardedBytes::GuardedBytes(const std::string& bytes, bool guardFront) : m_nSize(static_cast<DWORD>(bytes.size()))
{
    const DWORD page = PageSize();
    const DWORD dataPages = (m_nSize + page - 1) / page + 1;
    const DWORD total = (dataPages + 2) * page;
    m_pBase = static_cast<BYTE*>(::VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    ::VirtualProtect(m_pBase, page, PAGE_NOACCESS, &old);
    ::VirtualProtect(m_pBase + total - page, page, PAGE_NOACCESS, &old);
    m_pData = guardFront ? m_pBase + page : m_pBase + total - page - m_nSize;
    std::memcpy(m_pData, bytes.data(), m_nSize);
}

GuardedBytes::~GuardedBytes()
{
    ::VirtualFree(m_pBase, 0, MEM_RELEASE);
}

} // namespace wxlmtest
