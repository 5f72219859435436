// /redact: replaces identifying values by placeholders so that a capture can be shared. Serial
// numbers, IQNs, addresses and instance names become numbered placeholders; the same value
// always becomes the same placeholder within one capture, so that references between classes
// (an adapter's instance name in its TCP/IP, NIC and session instances) still match. A redacted
// text found inside any other string is replaced there too.
#ifndef QUILLET_CAPTURE_REDACTOR_H
#define QUILLET_CAPTURE_REDACTOR_H

#include "capture/captured.h"

void redact(Capture* capture);

#endif
