// Reads a class definition from WMI: its superclass, property names in the order the class gives
// them, their CIM types, and for embedded objects the class named by the CIMTYPE qualifier.
#ifndef QUILLET_CAPTURE_CLASS_DEFINITION_H
#define QUILLET_CAPTURE_CLASS_DEFINITION_H

#include <windows.h>
#include <wbemidl.h>

#include "capture/captured.h"

namespace quillet::capture {

// `definition` is the class object (IWbemServices::GetObject) or, where the namespace does not
// serve the class, an instance of it. Reference properties, which the replay cannot hold, are
// left out with a note on stderr. Throws CaptureError when WMI fails.
CapturedClass readClassDefinition(IWbemClassObject* definition, const std::wstring& className);

}  // namespace quillet::capture

#endif
