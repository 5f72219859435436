// A minimal COM object for the tests: its reference count is visible through AddRef/Release
// and the live-object count.
#ifndef WINSIM_TEST_OBJECT_H
#define WINSIM_TEST_OBJECT_H

#include <wbemidl.h>
#include "com/com_object.h"

class TestObject final : public winsim::ComObject<IWbemContext>
{
};

// The current reference count, read without changing it.
inline ULONG referenceCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

#endif
