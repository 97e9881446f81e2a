#include "core/Delegate.h"

namespace Tarvo {

bool CDelegateBase::Equals(const CDelegateBase& other) const
{
    return m_pObject == other.m_pObject && m_pFunctionKey == other.m_pFunctionKey && SameFunction(other);
}

CEventSource::~CEventSource()
{
    for (int i = 0; i < m_handlers.GetSize(); ++i) {
        delete static_cast<CDelegateBase*>(m_handlers.GetAt(i));
    }
}

void CEventSource::Add(const CDelegateBase& handler)
{
    CDelegateBase* pCopy = handler.Copy();
    if (!m_handlers.Add(pCopy)) {
        delete pCopy;
    }
}

bool CEventSource::Remove(const CDelegateBase& handler)
{
    for (int i = 0; i < m_handlers.GetSize(); ++i) {
        auto* pHandler = static_cast<CDelegateBase*>(m_handlers.GetAt(i));
        if (pHandler->Equals(handler)) {
            m_handlers.Remove(i);
            delete pHandler;
            return true;
        }
    }
    return false;
}

bool CEventSource::Invoke(void* pParam)
{
    for (int i = 0; i < m_handlers.GetSize(); ++i) {
        if (!static_cast<CDelegateBase*>(m_handlers.GetAt(i))->Invoke(pParam)) {
            return false;
        }
    }
    return true;
}

} // namespace Tarvo
