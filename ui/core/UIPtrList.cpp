#include "core/UIPtrList.h"

#include <algorithm>
#include <new>

namespace Tarvo {

CUIPtrList::CUIPtrList(int nPreallocSize)
{
    if (nPreallocSize > 0) {
        m_ppVoid.reset(new (std::nothrow) void*[static_cast<size_t>(nPreallocSize)]);
        m_nAllocated = m_ppVoid ? nPreallocSize : 0;
    }
}

CUIPtrList::CUIPtrList(const CUIPtrList& src) : CUIPtrList(src.m_nCount)
{
    if (m_nAllocated >= src.m_nCount) {
        std::copy(src.m_ppVoid.get(), src.m_ppVoid.get() + src.m_nCount, m_ppVoid.get());
        m_nCount = src.m_nCount;
    }
}

CUIPtrList::CUIPtrList(CUIPtrList&& src) noexcept
    : m_ppVoid(std::move(src.m_ppVoid)), m_nCount(src.m_nCount), m_nAllocated(src.m_nAllocated)
{
    src.m_nCount = 0;
    src.m_nAllocated = 0;
}

CUIPtrList& CUIPtrList::operator=(const CUIPtrList& src)
{
    if (this != &src) {
        CUIPtrList copy(src);
        *this = std::move(copy);
    }
    return *this;
}

CUIPtrList& CUIPtrList::operator=(CUIPtrList&& src) noexcept
{
    if (this != &src) {
        m_ppVoid = std::move(src.m_ppVoid);
        m_nCount = src.m_nCount;
        m_nAllocated = src.m_nAllocated;
        src.m_nCount = 0;
        src.m_nAllocated = 0;
    }
    return *this;
}

CUIPtrList::~CUIPtrList() = default;

void CUIPtrList::Empty()
{
    m_ppVoid.reset();
    m_nCount = 0;
    m_nAllocated = 0;
}

void* CUIPtrList::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nCount ? m_ppVoid[nIndex] : nullptr;
}

int CUIPtrList::Find(const void* pData) const
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppVoid[i] == pData) {
            return i;
        }
    }
    return -1;
}

bool CUIPtrList::Grow()
{
    if (m_nCount < m_nAllocated) {
        return true;
    }
    int nNew = m_nAllocated == 0 ? INITIAL_CAPACITY : m_nAllocated * 2;
    if (m_nAllocated > 0x0FFFFFFF) {
        return false;
    }
    std::unique_ptr<void*[]> pNew(new (std::nothrow) void*[static_cast<size_t>(nNew)]);
    if (!pNew) {
        return false;
    }
    std::copy(m_ppVoid.get(), m_ppVoid.get() + m_nCount, pNew.get());
    m_ppVoid = std::move(pNew);
    m_nAllocated = nNew;
    return true;
}

bool CUIPtrList::Add(void* pData)
{
    return InsertAt(m_nCount, pData);
}

bool CUIPtrList::InsertAt(int nIndex, void* pData)
{
    if (nIndex < 0 || nIndex > m_nCount || !Grow()) {
        return false;
    }
    std::copy_backward(m_ppVoid.get() + nIndex, m_ppVoid.get() + m_nCount, m_ppVoid.get() + m_nCount + 1);
    m_ppVoid[nIndex] = pData;
    ++m_nCount;
    return true;
}

bool CUIPtrList::SetAt(int nIndex, void* pData)
{
    if (nIndex < 0 || nIndex >= m_nCount) {
        return false;
    }
    m_ppVoid[nIndex] = pData;
    return true;
}

bool CUIPtrList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nCount) {
        return false;
    }
    std::copy(m_ppVoid.get() + nIndex + 1, m_ppVoid.get() + m_nCount, m_ppVoid.get() + nIndex);
    --m_nCount;
    return true;
}

} // namespace Tarvo
