// COM and OLE Automation together.
#ifndef WINSIM_OLE2_H
#define WINSIM_OLE2_H

#include "objbase.h"
#include "oleauto.h"

#endif
