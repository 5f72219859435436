// The WMI client interfaces.
#ifndef WINSIM_WBEMIDL_H
#define WINSIM_WBEMIDL_H

#include "ole2.h"
#include "wbemcli.h"

#endif
