#include "records/embedded_classes.h"

#include <cwchar>

#include "records/ISCSI_ConnectionStatic.h"
#include "records/ISCSI_IP_Address.h"
#include "records/ISCSI_SessionStatic.h"

namespace {

// How the records meet a class's objects; a class is read only the way it is listed for.
enum Embedding
{
    ARRAY_ELEMENT,
    SINGLE_OBJECT
};

struct KnownClass
{
    const wchar_t* name;
    Embedding embedding;
    EmbeddedClass entry;
};

template <typename Record>
WMIObject* createRecord()
{
    return new Record;
}

const KnownClass KNOWN_CLASSES[] = {
    {L"ISCSI_SessionStatic", ARRAY_ELEMENT,
     {"ISCSI_SessionStatic", &createRecord<ISCSI_SessionStatic>}},
    {L"ISCSI_ConnectionStatic", ARRAY_ELEMENT,
     {"ISCSI_ConnectionStatic", &createRecord<ISCSI_ConnectionStatic>}},
    {L"ISCSI_IP_Address", SINGLE_OBJECT, {"ISCSI_IP_Address", &createRecord<ISCSI_IP_Address>}},
};

const EmbeddedClass* findClass(const wchar_t* className, Embedding embedding)
{
    for (size_t i = 0; i < sizeof(KNOWN_CLASSES) / sizeof(KNOWN_CLASSES[0]); ++i) {
        const KnownClass& known = KNOWN_CLASSES[i];
        if (known.embedding == embedding && std::wcscmp(className, known.name) == 0)
            return &known.entry;
    }
    return NULL;
}

}  // namespace

const EmbeddedClass* arrayElementClass(const wchar_t* className)
{
    return findClass(className, ARRAY_ELEMENT);
}

const EmbeddedClass* embeddedObjectClass(const wchar_t* className)
{
    return findClass(className, SINGLE_OBJECT);
}
