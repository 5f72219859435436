// EmbeddedClass: what the readers and the engine need to know of the class of the records they
// create: for an object embedded in another object's property, and for the instances of the
// engine's session query. Neither names a record class (the records need Python, they do not):
// the caller passes the entry of the records' table (records/embedded_classes.h), or, to a
// reader, NULL for a class the records do not read, which the readers refuse.
#ifndef QUILLET_EMBEDDED_CLASS_H
#define QUILLET_EMBEDDED_CLASS_H

class WMIObject;

struct EmbeddedClass
{
    const char* traceName;
    // A new, empty record of the class (heap; the caller deletes it). May throw std::bad_alloc.
    WMIObject* (*createRecord)();
};

#endif
