// The WMI classes whose records are created away from the records' own code: the objects the
// records read out of another object's property (a record passes the entry of the class it
// expects there), and the instances of the engine's session query (the session method passes
// it). The readers and the engine know none of the record classes.
#ifndef QUILLET_EMBEDDED_CLASSES_H
#define QUILLET_EMBEDDED_CLASSES_H

#include "wmiobject/embedded_class.h"

// The instances the engine's queryInitiatorSessionInfo hands over.
extern const EmbeddedClass kSessionInfoClass;
// The elements of MSiSCSI_InitiatorSessionInfo's SessionsList.
extern const EmbeddedClass kSessionStaticClass;
// The elements of ISCSI_SessionStatic's ConnectionsList.
extern const EmbeddedClass kConnectionStaticClass;
// The address objects of MSiSCSI_TCPIPConfig.
extern const EmbeddedClass kIpAddressClass;

#endif
