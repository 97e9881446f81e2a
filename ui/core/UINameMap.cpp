#include "core/UINameMap.h"

#include <cwchar>
#include <new>

namespace Tarvo {

CUINameMap::CUINameMap(int nBuckets)
{
    Resize(nBuckets);
}

CUINameMap::~CUINameMap()
{
    FreeItems();
}

unsigned int CUINameMap::HashKey(const wchar_t* key)
{
    unsigned int h = 0;
    for (size_t i = wcslen(key); i > 0; --i) {
        h = h * 33u + static_cast<unsigned int>(key[i - 1]);
    }
    return h;
}

int CUINameMap::BucketOf(const wchar_t* key) const
{
    return static_cast<int>(HashKey(key) % static_cast<unsigned int>(m_nBuckets));
}

void CUINameMap::FreeItems()
{
    for (int i = 0; i < m_nBuckets; ++i) {
        while (Item* pItem = m_aBuckets[i]) {
            m_aBuckets[i] = pItem->pNext;
            delete pItem;
        }
    }
    m_nCount = 0;
}

void CUINameMap::RemoveAll()
{
    FreeItems();
}

bool CUINameMap::Resize(int nBuckets)
{
    if (nBuckets < 1) {
        nBuckets = 1;
    }
    std::unique_ptr<Item*[]> aNew(new (std::nothrow) Item*[static_cast<size_t>(nBuckets)]());
    if (!aNew) {
        return false;
    }
    Item** aOld = m_aBuckets.get();
    int nOld = m_nBuckets;
    std::unique_ptr<Item*[]> keepOld = std::move(m_aBuckets);
    m_aBuckets = std::move(aNew);
    m_nBuckets = nBuckets;
    for (int i = 0; i < nOld; ++i) {
        while (Item* pItem = aOld[i]) {
            aOld[i] = pItem->pNext;
            Item*& head = m_aBuckets[BucketOf(pItem->key)];
            pItem->pNext = head;
            head = pItem;
        }
    }
    return true;
}

CUINameMap::Item** CUINameMap::FindLink(const wchar_t* key) const
{
    if (key == nullptr || m_nBuckets == 0) {
        return nullptr;
    }
    for (Item** ppLink = &m_aBuckets[BucketOf(key)]; *ppLink != nullptr; ppLink = &(*ppLink)->pNext) {
        if ((*ppLink)->key == key) {
            return ppLink;
        }
    }
    return nullptr;
}

void* CUINameMap::Find(const wchar_t* key, bool bOptimize) const
{
    Item** ppLink = FindLink(key);
    if (ppLink == nullptr) {
        return nullptr;
    }
    Item* pItem = *ppLink;
    Item*& head = m_aBuckets[BucketOf(key)];
    if (bOptimize && pItem != head) {
        *ppLink = pItem->pNext;
        pItem->pNext = head;
        head = pItem;
    }
    return pItem->pData;
}

bool CUINameMap::Insert(const wchar_t* key, void* pData)
{
    if (key == nullptr || m_nBuckets == 0 || FindLink(key) != nullptr) {
        return false;
    }
    Item* pItem = new (std::nothrow) Item{CUIString(key), pData, nullptr};
    if (pItem == nullptr || pItem->key.GetLength() != static_cast<int>(wcslen(key))) {
        delete pItem;
        return false;
    }
    Item*& head = m_aBuckets[BucketOf(key)];
    pItem->pNext = head;
    head = pItem;
    ++m_nCount;
    return true;
}

void* CUINameMap::Set(const wchar_t* key, void* pData)
{
    if (Item** ppLink = FindLink(key)) {
        void* pOld = (*ppLink)->pData;
        (*ppLink)->pData = pData;
        return pOld;
    }
    Insert(key, pData);
    return nullptr;
}

bool CUINameMap::Remove(const wchar_t* key)
{
    Item** ppLink = FindLink(key);
    if (ppLink == nullptr) {
        return false;
    }
    Item* pItem = *ppLink;
    *ppLink = pItem->pNext;
    delete pItem;
    --m_nCount;
    return true;
}

const wchar_t* CUINameMap::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount) {
        return nullptr;
    }
    for (int i = 0; i < m_nBuckets; ++i) {
        for (const Item* pItem = m_aBuckets[i]; pItem != nullptr; pItem = pItem->pNext) {
            if (nIndex-- == 0) {
                return pItem->key;
            }
        }
    }
    return nullptr;
}

} // namespace Tarvo
