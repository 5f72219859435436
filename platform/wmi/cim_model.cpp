#include "wmi/cim_model.h"

#include <cwctype>
#include <limits>

namespace winsim::wmi {

namespace {

wchar_t upper(wchar_t c)
{
    if (c < 0x80)
        return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
    return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}

struct KindName
{
    CimKind kind;
    const char* name;
};

const KindName kKindNames[] = {
    {CimKind::Boolean, "boolean"}, {CimKind::UInt8, "uint8"},       {CimKind::SInt8, "sint8"},
    {CimKind::UInt16, "uint16"},   {CimKind::SInt16, "sint16"},     {CimKind::UInt32, "uint32"},
    {CimKind::SInt32, "sint32"},   {CimKind::UInt64, "uint64"},     {CimKind::SInt64, "sint64"},
    {CimKind::Real32, "real32"},   {CimKind::Real64, "real64"},     {CimKind::Char16, "char16"},
    {CimKind::String, "string"},   {CimKind::DateTime, "datetime"}, {CimKind::Object, "object"},
};

struct KindRange
{
    CimKind kind;
    IntegerRange range;
};

const KindRange kKindRanges[] = {
    {CimKind::Boolean, {32768, 65535}},  // any 16-bit pattern
    {CimKind::UInt8, {0, 0xFF}},
    {CimKind::SInt8, {128, 127}},
    {CimKind::UInt16, {0, 0xFFFF}},
    {CimKind::SInt16, {32768, 32767}},
    {CimKind::UInt32, {0, 0xFFFFFFFFu}},
    {CimKind::SInt32, {0x80000000u, 0x7FFFFFFF}},
    {CimKind::UInt64, {0, std::numeric_limits<uint64_t>::max()}},
    {CimKind::SInt64,
     {uint64_t(1) << 63, static_cast<uint64_t>(std::numeric_limits<int64_t>::max())}},
    {CimKind::Char16, {0, 0xFFFF}},
};

}  // namespace

const char* kindName(CimKind kind)
{
    for (const KindName& entry : kKindNames)
        if (entry.kind == kind)
            return entry.name;
    return "?";
}

bool kindFromName(const std::wstring& name, CimKind* kind)
{
    for (const KindName& entry : kKindNames) {
        size_t length = std::char_traits<char>::length(entry.name);
        if (name.size() != length)
            continue;
        size_t i = 0;
        while (i < length && upper(name[i]) == upper(static_cast<wchar_t>(entry.name[i])))
            ++i;
        if (i == length) {
            *kind = entry.kind;
            return true;
        }
    }
    return false;
}

bool integerRange(CimKind kind, IntegerRange* range)
{
    for (const KindRange& entry : kKindRanges) {
        if (entry.kind == kind) {
            *range = entry.range;
            return true;
        }
    }
    return false;
}

CimValue CimValue::ofInteger(int64_t value)
{
    CimValue v;
    v.tag = Tag::Integer;
    v.integer = value;
    return v;
}

CimValue CimValue::ofReal(double value)
{
    CimValue v;
    v.tag = Tag::Real;
    v.real = value;
    return v;
}

CimValue CimValue::ofText(std::wstring value)
{
    CimValue v;
    v.tag = Tag::Text;
    v.text = std::move(value);
    return v;
}

CimValue CimValue::ofObject(std::shared_ptr<const Instance> value)
{
    CimValue v;
    v.tag = Tag::Object;
    v.object = std::move(value);
    return v;
}

CimValue CimValue::ofArray(std::vector<CimValue> values)
{
    CimValue v;
    v.tag = Tag::Array;
    v.elements = std::move(values);
    return v;
}

size_t ClassDef::find(std::wstring_view propertyName) const
{
    for (size_t i = 0; i < properties.size(); ++i)
        if (equalsNoCase(properties[i].name, propertyName))
            return i;
    return npos;
}

void ClassDef::addProperty(PropertyDef property)
{
    size_t existing = find(property.name);
    if (existing != npos)
        properties[existing] = std::move(property);  // a subclass redeclares an inherited one
    else
        properties.push_back(std::move(property));
}

bool ClassDef::isA(const ClassDef& other) const
{
    for (const ClassDef* c = this; c; c = c->parent.get())
        if (c == &other)
            return true;
    return false;
}

std::wstring foldCase(std::wstring_view text)
{
    std::wstring folded(text);
    for (wchar_t& c : folded)
        c = upper(c);
    return folded;
}

bool equalsNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

}  // namespace winsim::wmi
