// ComObject<Interfaces...>: the IUnknown part of every COM object the platform hands out.
// Implements QueryInterface for IUnknown and each listed interface (by __uuidof), and real
// reference counting: an object starts with one reference, owned by whoever created it, and
// deletes itself when Release brings the count to zero. Every live object is counted for the
// leak line. Derive with the interfaces to implement:
//     class Locator final : public ComObject<IWbemLocator> { ... };
//     IWbemLocator* p = new Locator(...);   // count 1, handed to the caller
#ifndef WINSIM_COM_OBJECT_H
#define WINSIM_COM_OBJECT_H

#include <windows.h>
#include <atomic>
#include "sim/sim.h"

namespace winsim {

template <typename First, typename... Rest>
class ComObject : public First, public Rest...
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override
    {
        if (ppvObject == nullptr)
            return E_POINTER;
        *ppvObject = nullptr;
        if (riid == IID_IUnknown)
            *ppvObject = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            *ppvObject = find<First, Rest...>(riid);
        if (*ppvObject == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }

    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG remaining = --m_references;
        if (remaining == 0)
            delete this;
        return remaining;
    }

protected:
    ComObject() { track(Resource::Com, +1); }
    virtual ~ComObject() { track(Resource::Com, -1); }

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    template <typename Interface, typename... Others>
    void* find(REFIID riid)
    {
        if (riid == __uuidof(Interface))
            return static_cast<Interface*>(this);
        if constexpr (sizeof...(Others) > 0)
            return find<Others...>(riid);
        return nullptr;
    }

    std::atomic<ULONG> m_references{1};
};

}  // namespace winsim

#endif
