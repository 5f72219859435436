// EmbeddedClass: what the readers need to know of the class of an object embedded in another
// object's property. The readers name no record class: the caller passes the entry of the
// records' table (records/embedded_classes.h), or NULL for a class the records do not read,
// which the readers refuse.
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
