#include "wmi/cim_model.h"

#include <cwctype>
#include <limits>

namespace winsim::wmi {

namespace {

struct KindName {
    CimKind kind;
    const char* name;
};

const KindName kKindNames[] = {
    {CimKind::Boolean, "boolean"}, {CimKind::UInt8, "uint8"},     {CimKind::SInt8, "sint8"},
    {CimKind::UInt16, "uint16"},   {CimKind::SInt16, "sint16"},   {CimKind::UInt32, "uint32"},
    {CimKind::SInt32, "sint32"},   {CimKind::UInt64, "uint64"},   {CimKind::SInt64, "sint64"},
    {CimKind::Real32, "real32"},   {CimKind::Real64, "real64"},   {CimKind::Char16, "char16"},
    {CimKind::String, "string"},   {CimKind::DateTime, "datetime"}, {CimKind::Object, "object"},
};

}  // namespace

const char* kindName(CimKind kind)
{
    for (const KindName& entry : kKindNames)
        if (entry.kind == kind) return entry.name;
    return "?";
}

bool kindFromName(const std::wstring& name, CimKind* kind)
{
    for (const KindName& entry : kKindNames) {
        std::wstring wide(entry.name, entry.name + std::char_traits<char>::length(entry.name));
        if (equalsNoCase(name, wide)) {
            *kind = entry.kind;
            return true;
        }
    }
    return false;
}

bool integerRange(CimKind kind, IntegerRange* range)
{
    switch (kind) {
    case CimKind::Boolean: *range = {32768, 65535}; return true;  // any 16-bit pattern
    case CimKind::UInt8: *range = {0, 0xFF}; return true;
    case CimKind::SInt8: *range = {128, 127}; return true;
    case CimKind::UInt16: *range = {0, 0xFFFF}; return true;
    case CimKind::SInt16: *range = {32768, 32767}; return true;
    case CimKind::UInt32: *range = {0, 0xFFFFFFFFu}; return true;
    case CimKind::SInt32: *range = {0x80000000u, 0x7FFFFFFF}; return true;
    case CimKind::UInt64: *range = {0, std::numeric_limits<uint64_t>::max()}; return true;
    case CimKind::SInt64:
        *range = {uint64_t(1) << 63, static_cast<uint64_t>(std::numeric_limits<int64_t>::max())};
        return true;
    case CimKind::Char16: *range = {0, 0xFFFF}; return true;
    default: return false;
    }
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

size_t ClassDef::find(const std::wstring& propertyName) const
{
    auto it = m_index.find(foldCase(propertyName));
    return it == m_index.end() ? npos : it->second;
}

void ClassDef::addProperty(PropertyDef property)
{
    std::wstring key = foldCase(property.name);
    auto it = m_index.find(key);
    if (it != m_index.end()) {
        properties[it->second] = std::move(property);  // a subclass redeclares an inherited one
        return;
    }
    m_index.emplace(std::move(key), properties.size());
    properties.push_back(std::move(property));
}

bool ClassDef::isA(const ClassDef& other) const
{
    for (const ClassDef* c = this; c; c = c->parent.get())
        if (c == &other) return true;
    return false;
}

std::wstring foldCase(const std::wstring& text)
{
    std::wstring folded(text);
    for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return folded;
}

bool equalsNoCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

}  // namespace winsim::wmi
