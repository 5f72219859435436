// What a capture holds: plain data, no COM. Classes as the namespace declares them and instances
// with one value per property, so that redaction and the MOF writer need no WMI.
#ifndef QUILLET_CAPTURE_CAPTURED_H
#define QUILLET_CAPTURE_CAPTURED_H

#include <windows.h>
#include <wbemidl.h>

#include <memory>
#include <string>
#include <vector>

namespace quillet::capture {

struct CapturedProperty
{
    std::wstring name;
    CIMTYPE type;              // CIM_FLAG_ARRAY set for arrays
    std::wstring objectClass;  // CIM_OBJECT: the class of the CIMTYPE qualifier, empty for `object`
};

struct CapturedClass
{
    std::wstring name;
    std::wstring superclass;  // empty at the root (or where the namespace does not say)
    std::vector<CapturedProperty>
        properties;  // in the order the class gives them, inherited ones included
};

struct CapturedInstance;

struct CapturedValue
{
    enum Kind
    {
        Null,
        Literal,
        Text,
        Object,
        Array
    };
    Kind kind;
    std::string literal;                       // Literal: a boolean or number as MOF writes it
    std::wstring text;                         // Text: string, datetime
    std::shared_ptr<CapturedInstance> object;  // Object
    std::vector<CapturedValue> elements;       // Array (an element of an object array may be Null)

    CapturedValue() : kind(Null) {}
};

struct CapturedInstance
{
    const CapturedClass* cls;           // owned by the Capture
    std::vector<CapturedValue> values;  // one per property of cls
};

struct Capture
{
    std::wstring nameSpace;
    std::vector<std::wstring> classes;                     // requested, in order
    std::vector<std::unique_ptr<CapturedClass>> declared;  // each before its first use
    std::vector<CapturedInstance> instances;               // top level, class by class
};

}  // namespace quillet::capture

#endif
