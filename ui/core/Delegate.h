#pragma once

#include "core/UIPtrList.h"

namespace Tarvo {

// A handler: an object bound to one of its member functions taking an untyped pointer.
class CDelegateBase {
public:
    CDelegateBase(void* pObject, const void* pFunctionKey) : m_pObject(pObject), m_pFunctionKey(pFunctionKey) {}
    virtual ~CDelegateBase() = default;
    virtual CDelegateBase* Copy() const = 0;
    virtual bool Invoke(void* pParam) = 0;

    // Handlers are equal when they bind the same object to the same function.
    bool Equals(const CDelegateBase& other) const;

protected:
    virtual bool SameFunction(const CDelegateBase& other) const = 0;

    void* m_pObject;
    const void* m_pFunctionKey; // identifies the delegate class, compared before the functions
};

template <class T> class CDelegate : public CDelegateBase {
public:
    using Function = bool (T::*)(void*);

    CDelegate(T* pObject, Function pFunction) : CDelegateBase(pObject, &s_key), m_pFunction(pFunction) {}
    CDelegateBase* Copy() const override { return new CDelegate(*this); }
    bool Invoke(void* pParam) override { return (static_cast<T*>(m_pObject)->*m_pFunction)(pParam); }

protected:
    bool SameFunction(const CDelegateBase& other) const override
    {
        return static_cast<const CDelegate&>(other).m_pFunction == m_pFunction;
    }

private:
    static inline const char s_key = 0;
    Function m_pFunction;
};

template <class T> CDelegate<T> MakeDelegate(T* pObject, bool (T::*pFunction)(void*))
{
    return CDelegate<T>(pObject, pFunction);
}

// An owning list of handlers, invoked in insertion order until one answers false.
class CEventSource {
public:
    CEventSource() = default;
    ~CEventSource();
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;

    void Add(const CDelegateBase& handler);
    // Removes the first equal handler; false when there is none.
    bool Remove(const CDelegateBase& handler);
    bool IsEmpty() const { return m_handlers.IsEmpty(); }
    // True when every handler answered true (an empty list answers true).
    bool Invoke(void* pParam);

private:
    CUIPtrList m_handlers;
};

} // namespace Tarvo
