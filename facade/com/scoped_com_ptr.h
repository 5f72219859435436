// ScopedComPtr<T>: owns one reference to a COM interface (or none) and releases it when it goes
// out of scope. Not copyable. Receive() hands out the slot for an out-parameter and refuses to
// overwrite a held reference; Detach() passes ownership on.
#ifndef QUILLET_SCOPED_COM_PTR_H
#define QUILLET_SCOPED_COM_PTR_H

#include <cassert>
#include <cstddef>

namespace quillet {

template <class T>
class ScopedComPtr
{
public:
    ScopedComPtr() : m_p(NULL) {}
    // Takes over a reference the caller owns.
    explicit ScopedComPtr(T* p) : m_p(p) {}
    ~ScopedComPtr()
    {
        if (m_p)
            m_p->Release();
    }
    ScopedComPtr(const ScopedComPtr&) = delete;
    ScopedComPtr& operator=(const ScopedComPtr&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }

    T** Receive()
    {
        assert(m_p == NULL);
        return &m_p;
    }

    T* Detach()
    {
        T* p = m_p;
        m_p = NULL;
        return p;
    }

private:
    T* m_p;
};

}  // namespace quillet

#endif
