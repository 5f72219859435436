// The WMI classes whose objects the records read out of another object's property: the elements
// of the session tree's arrays and the address objects of the TCP/IP configuration. The readers
// know none of them: a record looks its class up here and passes the entry on.
#ifndef QUILLET_EMBEDDED_CLASSES_H
#define QUILLET_EMBEDDED_CLASSES_H

#include "wmiobject/embedded_class.h"

// The entry getObjectArray builds records of className with, or NULL for a class the records do
// not read as an array's elements. Names compare exactly (case included).
const EmbeddedClass* arrayElementClass(const wchar_t* className);

// The entry GetObject accepts for a single embedded object of className, or NULL for a class the
// records do not read that way.
const EmbeddedClass* embeddedObjectClass(const wchar_t* className);

#endif
