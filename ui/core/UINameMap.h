#pragma once

#include "core/UIString.h"

#include <memory>

namespace Tarvo {

// Hash map from case-sensitive wide-string keys to pointers it does not own. Chained buckets
// (83 unless resized); a successful lookup moves its entry to the front of the bucket, so the
// names looked up most often are found first.
class CUINameMap {
public:
    enum { DEFAULT_BUCKETS = 83 };

    explicit CUINameMap(int nBuckets = DEFAULT_BUCKETS);
    ~CUINameMap();
    CUINameMap(const CUINameMap&) = delete;
    CUINameMap& operator=(const CUINameMap&) = delete;

    // Rehashes every entry into nBuckets buckets (at least 1).
    bool Resize(int nBuckets = DEFAULT_BUCKETS);
    void RemoveAll();

    void* Find(const wchar_t* key, bool bOptimize = true) const;
    // Fails when the key exists already.
    bool Insert(const wchar_t* key, void* pData);
    // Replaces the value of an existing key (returning the old one) or inserts the key.
    void* Set(const wchar_t* key, void* pData);
    bool Remove(const wchar_t* key);

    int GetSize() const { return m_nCount; }
    int GetBucketCount() const { return m_nBuckets; }
    // Keys in bucket order, each bucket front to back; null out of range.
    const wchar_t* GetAt(int nIndex) const;
    const wchar_t* operator[](int nIndex) const { return GetAt(nIndex); }

    static unsigned int HashKey(const wchar_t* key);

private:
    struct Item {
        CUIString key;
        void* pData;
        Item* pNext;
    };

    Item** FindLink(const wchar_t* key) const;
    int BucketOf(const wchar_t* key) const;
    void FreeItems();

    std::unique_ptr<Item*[]> m_aBuckets;
    int m_nBuckets = 0;
    int m_nCount = 0;
};

} // namespace Tarvo
