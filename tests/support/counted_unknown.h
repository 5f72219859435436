// CountedUnknown: a plain IUnknown that counts its references, so that a test can see which
// OLE Automation calls add or release one. Lives on the test's stack; never deletes itself.
#ifndef QUILLET_TEST_COUNTED_UNKNOWN_H
#define QUILLET_TEST_COUNTED_UNKNOWN_H

#include <windows.h>
#include <unknwn.h>

class CountedUnknown : public IUnknown
{
public:
    CountedUnknown() : m_cRef(1) {}
    virtual ~CountedUnknown() {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv)
    {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() { return ++m_cRef; }
    ULONG STDMETHODCALLTYPE Release() { return --m_cRef; }

    ULONG references() const { return m_cRef; }

private:
    ULONG m_cRef;
};

// The references held on an object right now, read without changing them.
inline ULONG referenceCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

#endif
