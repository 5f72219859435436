// A minimal stand-in COM object: its reference count is visible through AddRef/Release and the
// live-object count.
#ifndef WINSIM_TEST_OBJECT_H
#define WINSIM_TEST_OBJECT_H

#include <wbemidl.h>
#include "com/com_object.h"
#include "counted_unknown.h"

class TestObject final : public winsim::ComObject<IWbemContext>
{};

#endif
