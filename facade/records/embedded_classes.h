// The WMI classes whose objects the records read out of another object's property. The readers
// know none of them: a record passes the entry of the class it expects there.
#ifndef QUILLET_EMBEDDED_CLASSES_H
#define QUILLET_EMBEDDED_CLASSES_H

#include "wmiobject/embedded_class.h"

// The elements of MSiSCSI_InitiatorSessionInfo's SessionsList.
extern const EmbeddedClass SESSION_STATIC_CLASS;
// The elements of ISCSI_SessionStatic's ConnectionsList.
extern const EmbeddedClass CONNECTION_STATIC_CLASS;
// The address objects of MSiSCSI_TCPIPConfig.
extern const EmbeddedClass IP_ADDRESS_CLASS;

#endif
