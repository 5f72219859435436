// WMIObject: base class of every record. Holds at most one IWbemClassObject reference
// (m_pclsObject) and offers typed readers that fetch one property, trace it on the standard
// output streams and return it as a plain value or copy it into the caller's buffer.
// Ownership: a non-null m_pclsObject is one COM reference owned by the record, released by
// the destructor. Records are never copied. No reader throws.
#ifndef QUILLET_WMIOBJECT_H
#define QUILLET_WMIOBJECT_H

#include <windows.h>
#include <wbemidl.h>
#include <cstddef>
#include <vector>
#include "wmiobject/embedded_class.h"

// windows.h maps GetObject to a GDI function on Windows; the reader keeps its own name.
#ifdef GetObject
#undef GetObject
#endif

class WMIObject
{
public:
    // Buffer sizes in wide characters, terminator included.
    static const size_t STRING_BUFFER_SIZE = 256;
    static const size_t UINT64_BUFFER_SIZE = 24;

    WMIObject();
    virtual ~WMIObject();
    WMIObject(const WMIObject&) = delete;
    WMIObject& operator=(const WMIObject&) = delete;

    void attach(IWbemClassObject* pObject);

    bool getBool(const wchar_t* name);
    BYTE getByte(const wchar_t* name);
    USHORT getShort(const wchar_t* name);
    LONG getLong(const wchar_t* name);
    bool getString(const wchar_t* name, wchar_t* buffer);        // STRING_BUFFER_SIZE characters
    bool getUInt64String(const wchar_t* name, wchar_t* buffer);  // UINT64_BUFFER_SIZE characters
    bool getByteArray(const wchar_t* name, BYTE* buffer, size_t count);
    // Attaches target to the object in property name. objectClass is the records' entry for the
    // class the caller expects there; NULL (a class they do not read) fails once there is an
    // object to attach.
    bool GetObject(const wchar_t* name, const EmbeddedClass* objectClass, WMIObject* target);
    // Appends one new heap record per array element, made by elementClass (NULL: a class the
    // records do not read, which fails once there is an element to build); the caller owns and
    // deletes them. May throw std::bad_alloc (creating a record or growing the vector).
    bool getObjectArray(const wchar_t* name, const EmbeddedClass* elementClass,
                        std::vector<WMIObject*>& records);

protected:
    IWbemClassObject* m_pclsObject;
};

#endif
