// /redact: replaces identifying values by placeholders so that a capture can be shared. Instance
// names, serial numbers, iSCSI names and the host names in them, and addresses become numbered
// placeholders of the same type; one identifier, in whatever case and written form, becomes one
// placeholder within one capture, so that references between classes (an adapter's instance name
// in its TCP/IP, NIC and session instances) still match. Identifiers are found as whole values by
// their property's name, by their known values inside any other string, and by their form
// (iSCSI names, IPv4, IPv6 and MAC addresses) wherever they stand.
#ifndef QUILLET_CAPTURE_REDACTOR_H
#define QUILLET_CAPTURE_REDACTOR_H

#include "capture/captured.h"

namespace quillet::capture {

void redact(Capture* capture);

}  // namespace quillet::capture

#endif
