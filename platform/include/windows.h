// The Windows master header: base types, error codes, COM and OLE Automation.
#ifndef WINSIM_WINDOWS_H
#define WINSIM_WINDOWS_H

#include "windef.h"
#include "winerror.h"
#ifndef WIN32_LEAN_AND_MEAN
#include "ole2.h"
#endif

#endif
