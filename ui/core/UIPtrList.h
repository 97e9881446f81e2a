#pragma once

#include <memory>

namespace Tarvo {

// Growable array of pointers that owns nothing it holds. Room for 11 pointers is made on the
// first insertion; from then on the room doubles whenever it is full.
class CUIPtrList {
public:
    enum { INITIAL_CAPACITY = 11 };

    explicit CUIPtrList(int nPreallocSize = 0);
    CUIPtrList(const CUIPtrList& src);
    CUIPtrList(CUIPtrList&& src) noexcept;
    CUIPtrList& operator=(const CUIPtrList& src);
    CUIPtrList& operator=(CUIPtrList&& src) noexcept;
    ~CUIPtrList();

    void Empty();
    bool IsEmpty() const { return m_nCount == 0; }
    int GetSize() const { return m_nCount; }
    int GetCapacity() const { return m_nAllocated; }
    void** GetData() { return m_ppVoid.get(); }

    // Index out of range gives null.
    void* GetAt(int nIndex) const;
    void* operator[](int nIndex) const { return GetAt(nIndex); }
    // -1 when the pointer is not in the list.
    int Find(const void* pData) const;

    bool Add(void* pData);
    bool InsertAt(int nIndex, void* pData);
    bool SetAt(int nIndex, void* pData);
    bool Remove(int nIndex);

private:
    bool Grow();

    std::unique_ptr<void*[]> m_ppVoid;
    int m_nCount = 0;
    int m_nAllocated = 0;
};

} // namespace Tarvo
