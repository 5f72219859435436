// Turns the VARIANTs WMI delivers into captured values: scalars as MOF literals (integers in
// decimal, 64-bit ones from their decimal text), strings, arrays and embedded instances.
#ifndef QUILLET_CAPTURE_VALUE_READER_H
#define QUILLET_CAPTURE_VALUE_READER_H

#include <windows.h>
#include <wbemidl.h>

#include "capture/captured.h"

namespace quillet::capture {

// Where an embedded object's class comes from: the namespace reader declares it on first sight.
class ObjectClasses
{
public:
    virtual const CapturedClass& classOfObject(IWbemClassObject* object) = 0;

protected:
    ~ObjectClasses() {}
};

// Reads every property of `object` as declared by `cls`. Throws CaptureError when a read fails
// or a value does not fit its declared type.
CapturedInstance readInstance(IWbemClassObject* object, const CapturedClass& cls,
                              ObjectClasses& classes);

}  // namespace quillet::capture

#endif
