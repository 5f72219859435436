// The repository's data model: classes with typed properties and instances holding values.
// Plain C++ with no COM in it; the COM objects of the service wrap these.
//
// Instances are shared immutably (std::shared_ptr<const Instance>): a query hands out copies whose
// embedded objects still point at the repository's, and a change always builds a new Instance, so
// readers never see a half-written value.
#ifndef WINSIM_WMI_CIM_MODEL_H
#define WINSIM_WMI_CIM_MODEL_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace winsim::wmi {

enum class CimKind
{
    Boolean,
    UInt8,
    SInt8,
    UInt16,
    SInt16,
    UInt32,
    SInt32,
    UInt64,
    SInt64,
    Real32,
    Real64,
    Char16,
    String,
    DateTime,
    Object
};

struct ClassDef;

struct CimType
{
    CimKind kind = CimKind::String;
    bool array = false;
    // For Object: the declared class of an embedded object; null for the generic `object`.
    std::shared_ptr<const ClassDef> objectClass;
};

// MOF name of a scalar kind ("uint32", "object", ...).
const char* kindName(CimKind kind);
// Parses a MOF type keyword (case-insensitive); false for anything else.
bool kindFromName(const std::wstring& name, CimKind* kind);

// Integer limits of a kind that takes integers (Boolean and Char16 included): the magnitude of
// the lowest value (0 for unsigned kinds) and the highest value.
struct IntegerRange
{
    uint64_t maxNegative;
    uint64_t maxPositive;
};
bool integerRange(CimKind kind, IntegerRange* range);

struct Instance;

// One property value. Integers of every width are held in `integer` (uint64 values above
// INT64_MAX wrap and are read back through `unsignedValue`); booleans hold their 16-bit value.
struct CimValue
{
    enum class Tag
    {
        Null,
        Integer,
        Real,
        Text,
        Object,
        Array
    };
    Tag tag = Tag::Null;
    int64_t integer = 0;
    double real = 0;
    std::wstring text;
    std::shared_ptr<const Instance> object;  // null for a NULL element of an object array
    std::vector<CimValue> elements;

    bool isNull() const { return tag == Tag::Null; }
    uint64_t unsignedValue() const { return static_cast<uint64_t>(integer); }

    static CimValue null() { return CimValue(); }
    static CimValue ofInteger(int64_t value);
    static CimValue ofReal(double value);
    static CimValue ofText(std::wstring value);
    static CimValue ofObject(std::shared_ptr<const Instance> value);
    static CimValue ofArray(std::vector<CimValue> values);
};

struct PropertyDef
{
    std::wstring name;
    CimType type;
};

struct ClassDef
{
    std::wstring name;
    std::shared_ptr<const ClassDef> parent;
    std::vector<PropertyDef> properties;  // inherited ones first

    // Index of a property by name (case-insensitive, as in WMI); npos when the class lacks it.
    // A plain scan: classes are small and this spares an allocation per lookup.
    static constexpr size_t npos = static_cast<size_t>(-1);
    size_t find(std::wstring_view propertyName) const;
    void addProperty(PropertyDef property);
    // True when this class is `other` or derives from it.
    bool isA(const ClassDef& other) const;
};

struct Instance
{
    std::shared_ptr<const ClassDef> cls;
    std::vector<CimValue> values;  // one per property of cls, in the same order

    explicit Instance(std::shared_ptr<const ClassDef> c)
        : cls(std::move(c)), values(cls->properties.size())
    {}
};

// Case folding used for every WMI name and for WQL string comparison.
std::wstring foldCase(std::wstring_view text);
bool equalsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace winsim::wmi

#endif
