#include "capture/mof_writer.h"

#include <stdio.h>

#include "capture/text.h"
#include "capture/version.h"

namespace quillet::capture {

namespace {

const char* scalarTypeName(CIMTYPE base)
{
    switch (base) {
        case CIM_BOOLEAN:
            return "boolean";
        case CIM_UINT8:
            return "uint8";
        case CIM_SINT8:
            return "sint8";
        case CIM_UINT16:
            return "uint16";
        case CIM_SINT16:
            return "sint16";
        case CIM_UINT32:
            return "uint32";
        case CIM_SINT32:
            return "sint32";
        case CIM_UINT64:
            return "uint64";
        case CIM_SINT64:
            return "sint64";
        case CIM_REAL32:
            return "real32";
        case CIM_REAL64:
            return "real64";
        case CIM_CHAR16:
            return "char16";
        case CIM_DATETIME:
            return "datetime";
        case CIM_OBJECT:
            return "object";
        default:
            return "string";
    }
}

class Writer
{
public:
    std::string out;

    // `superclass` is the declared class that cls.superclass names: the properties inherited
    // from it unchanged are not repeated.
    void classDeclaration(const CapturedClass& cls, const CapturedClass* superclass)
    {
        out += "class " + unicode::toUtf8(cls.name);
        if (superclass)
            out += " : " + unicode::toUtf8(superclass->name);
        out += " {\n";
        for (size_t i = 0; i < cls.properties.size(); ++i) {
            const CapturedProperty& property = cls.properties[i];
            if (superclass && inherits(*superclass, property))
                continue;
            CIMTYPE base = property.type & ~CIM_FLAG_ARRAY;
            out += "    ";
            out += base == CIM_OBJECT && !property.objectClass.empty()
                       ? unicode::toUtf8(property.objectClass)
                       : scalarTypeName(base);
            out += " " + unicode::toUtf8(property.name);
            if (property.type & CIM_FLAG_ARRAY)
                out += "[]";
            out += ";\n";
        }
        out += "};\n\n";
    }

    void instance(const CapturedInstance& object, int indent)
    {
        out += "instance of " + unicode::toUtf8(object.cls->name) + " {\n";
        for (size_t i = 0; i < object.values.size(); ++i) {
            pad(indent + 1);
            out += unicode::toUtf8(object.cls->properties[i].name) + " = ";
            value(object.values[i], indent + 1);
            out += ";\n";
        }
        pad(indent);
        out += "}";
    }

private:
    static bool inherits(const CapturedClass& superclass, const CapturedProperty& property)
    {
        for (size_t i = 0; i < superclass.properties.size(); ++i) {
            const CapturedProperty& inherited = superclass.properties[i];
            if (sameName(inherited.name, property.name))
                return inherited.type == property.type &&
                       sameName(inherited.objectClass, property.objectClass);
        }
        return false;
    }

    void pad(int indent) { out.append(static_cast<size_t>(indent) * 4, ' '); }

    void value(const CapturedValue& value, int indent)
    {
        switch (value.kind) {
            case CapturedValue::Null:
                out += "NULL";
                return;
            case CapturedValue::Literal:
                out += value.literal;
                return;
            case CapturedValue::Text:
                out += mofString(value.text);
                return;
            case CapturedValue::Object:
                instance(*value.object, indent);
                return;
            case CapturedValue::Array:
                array(value, indent);
                return;
        }
    }

    void array(const CapturedValue& value, int indent)
    {
        bool objects = false;
        for (size_t i = 0; i < value.elements.size(); ++i)
            objects = objects || value.elements[i].kind == CapturedValue::Object;
        if (value.elements.empty()) {
            out += "{}";
            return;
        }
        if (!objects) {
            // Scalars on one line.
            out += "{ ";
            for (size_t i = 0; i < value.elements.size(); ++i) {
                if (i)
                    out += ", ";
                this->value(value.elements[i], indent);
            }
            out += " }";
            return;
        }
        out += "{\n";
        for (size_t i = 0; i < value.elements.size(); ++i) {
            pad(indent + 1);
            this->value(value.elements[i], indent + 1);
            out += i + 1 < value.elements.size() ? ",\n" : "\n";
        }
        pad(indent);
        out += "}";
    }
};

const CapturedClass* declaredClass(const Capture& capture, const std::wstring& name)
{
    for (size_t i = 0; i < capture.declared.size() && !name.empty(); ++i)
        if (sameName(capture.declared[i]->name, name))
            return capture.declared[i].get();
    return NULL;
}

}  // namespace

std::string mofString(const std::wstring& text)
{
    std::string out = "\"";
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = unicode::nextCodePoint(text, pos);
        switch (c) {
            case '\\':
                out += "\\\\";
                continue;
            case '"':
                out += "\\\"";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
        }
        if (c < 0x20 || c == 0x7F || unicode::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF ||
            c > 0x10FFFF) {
            char escape[8];
            snprintf(escape, sizeof escape, "\\x%04lX", static_cast<unsigned long>(c & 0xFFFF));
            out += escape;
            continue;
        }
        unicode::appendUtf8(out, c);
    }
    return out + "\"";
}

std::string writeMof(const Capture& capture, const std::string& capturedAt)
{
    Writer writer;
    std::string classes;
    for (size_t i = 0; i < capture.classes.size(); ++i)
        classes += (i ? ", " : "") + unicode::toUtf8(capture.classes[i]);
    writer.out = "// Captured by QuilletCapture " QUILLET_CAPTURE_VERSION "\n"
                 "// Namespace: " +
                 unicode::toUtf8(capture.nameSpace) +
                 "\n"
                 "// Classes: " +
                 classes +
                 "\n"
                 "// Captured at: " +
                 capturedAt +
                 "\n"
                 "#pragma namespace(" +
                 mofString(L"\\\\.\\" + capture.nameSpace) + ")\n\n";
    for (size_t i = 0; i < capture.declared.size(); ++i)
        writer.classDeclaration(*capture.declared[i],
                                declaredClass(capture, capture.declared[i]->superclass));
    for (size_t i = 0; i < capture.instances.size(); ++i) {
        writer.instance(capture.instances[i], 0);
        writer.out += ";\n\n";
    }
    return writer.out;
}

}  // namespace quillet::capture
