#include "wmi/mof_parser.h"

#include "sim/utf8.h"

#include <limits>

namespace winsim::wmi {

namespace {

// A name as written in the file (UTF-8) against a declared one, without regard to case.
bool sameName(std::string_view utf8, const std::wstring& name)
{
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80)
            return equalsNoCase(fromUtf8(utf8), name);
    if (utf8.size() != name.size())
        return false;
    auto lower = [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
    };
    for (size_t i = 0; i < utf8.size(); ++i)
        if (lower(static_cast<wchar_t>(utf8[i])) != lower(name[i]))
            return false;
    return true;
}

std::string typeName(const CimType& type)
{
    std::string name = type.kind == CimKind::Object && type.objectClass
                           ? printableAscii(type.objectClass->name)
                           : kindName(type.kind);
    return type.array ? name + "[]" : name;
}

class Parser
{
public:
    explicit Parser(const std::string& utf8) : m_lexer(utf8) { advance(); }

    MofContent parse()
    {
        while (m_token.kind != MofToken::Kind::End) {
            if (m_token.kind == MofToken::Kind::Pragma) {
                pragma();
                continue;
            }
            skipQualifiers();
            if (isKeyword("class")) {
                classDeclaration();
            } else if (isKeyword("instance")) {
                m_content.instances.push_back(instance());
                expect(';', "';' after the instance");
            } else {
                fail("expected 'class' or 'instance of'");
            }
        }
        return std::move(m_content);
    }

private:
    void advance() { m_token = m_lexer.next(); }

    [[noreturn]] void fail(const std::string& message)
    {
        throw MofError(m_token.line, message + ", found " + m_token.describe());
    }

    [[noreturn]] void failType(const CimType& type)
    {
        fail("expected a value of type " + typeName(type));
    }

    bool isKeyword(const char* word) const { return m_token.isKeyword(word); }

    void expect(char punct, const char* what)
    {
        if (!m_token.is(punct))
            fail(std::string("expected ") + what);
        advance();
    }

    void expectKeyword(const char* word, const char* what)
    {
        if (!isKeyword(word))
            fail(std::string("expected ") + what);
        advance();
    }

    std::wstring identifier(const char* what)
    {
        if (m_token.kind != MofToken::Kind::Identifier)
            fail(std::string("expected ") + what);
        std::wstring name = m_token.wide();
        advance();
        return name;
    }

    // `#pragma namespace("...")`: the repository's namespace. Other pragmas (classflags,
    // locale, ...) say nothing the stand-in needs.
    void pragma()
    {
        MofLexer words(m_token.word);
        int line = m_token.line;
        advance();
        MofToken word = words.next();
        if (!word.isKeyword("namespace"))
            return;
        MofToken open = words.next(), path = words.next(), close = words.next();
        if (!open.is('(') || path.kind != MofToken::Kind::String || !close.is(')') ||
            words.next().kind != MofToken::Kind::End)
            throw MofError(line, "expected #pragma namespace(\"path\")");
        if (m_namespaceSet && !equalsNoCase(namespacePath(path.text), m_content.nameSpace))
            throw MofError(line, "a repository plays one namespace");
        m_content.nameSpace = namespacePath(path.text);
        m_namespaceSet = true;
    }

    // Qualifiers ([key], [Description("...")], ...) say nothing the stand-in needs: skipped whole.
    void skipQualifiers()
    {
        if (!m_token.is('['))
            return;
        int depth = 0;
        do {
            if (m_token.kind == MofToken::Kind::End)
                fail("expected ']' closing the qualifier list");
            if (m_token.is('[') || m_token.is('(') || m_token.is('{'))
                ++depth;
            if (m_token.is(']') || m_token.is(')') || m_token.is('}'))
                --depth;
            advance();
        } while (depth > 0);
    }

    // Lookups by the name as written: linear, as classes are few and small, and without a
    // wide copy of the name for each of the many instances of a large repository.
    static size_t findProperty(const ClassDef& cls, std::string_view name)
    {
        for (size_t i = 0; i < cls.properties.size(); ++i)
            if (sameName(name, cls.properties[i].name))
                return i;
        return ClassDef::npos;
    }

    std::shared_ptr<const ClassDef> findClass(std::string_view name) const
    {
        for (const auto& cls : m_content.classes)
            if (sameName(name, cls->name))
                return cls;
        return nullptr;
    }

    std::shared_ptr<const ClassDef> declaredClass(const char* what)
    {
        if (m_token.kind != MofToken::Kind::Identifier)
            fail(std::string("expected ") + what);
        auto cls = findClass(m_token.word);
        if (!cls)
            throw MofError(m_token.line,
                           "class '" + printableAscii(m_token.word) + "' is not declared");
        advance();
        return cls;
    }

    void classDeclaration()
    {
        advance();  // class
        int line = m_token.line;
        auto cls = std::make_shared<ClassDef>();
        if (m_token.kind == MofToken::Kind::Identifier && findClass(m_token.word))
            throw MofError(line,
                           "class '" + printableAscii(m_token.word) + "' is already declared");
        cls->name = identifier("a class name");
        if (m_token.is(':')) {
            advance();
            cls->parent = declaredClass("a superclass name");
            for (const PropertyDef& inherited : cls->parent->properties)
                cls->addProperty(inherited);
        }
        size_t inherited = cls->properties.size();
        expect('{', "'{' opening the class body");
        while (!m_token.is('}'))
            propertyDeclaration(*cls, inherited);
        advance();
        expect(';', "';' after the class declaration");
        m_content.classes.push_back(cls);
    }

    void propertyDeclaration(ClassDef& cls, size_t inherited)
    {
        skipQualifiers();
        if (m_token.kind == MofToken::Kind::End)
            fail("expected '}' closing the class body");
        CimType type;
        if (m_token.kind != MofToken::Kind::Identifier)
            fail("expected a property type");
        if (!kindFromName(m_token.wide(), &type.kind)) {
            type.kind = CimKind::Object;
            type.objectClass = findClass(m_token.word);
            if (!type.objectClass)
                throw MofError(m_token.line, "unknown type '" + printableAscii(m_token.word) + "'");
        }
        advance();
        PropertyDef property;
        int line = m_token.line;
        property.name = identifier("a property name");
        if (m_token.is('[')) {
            advance();
            if (m_token.kind == MofToken::Kind::Integer)
                advance();  // fixed-size arrays: size ignored
            expect(']', "']' closing the array declaration");
            type.array = true;
        }
        expect(';', "';' after the property declaration");
        size_t existing = cls.find(property.name);
        if (existing != ClassDef::npos && existing >= inherited)
            throw MofError(line,
                           "property '" + printableAscii(property.name) + "' is declared twice");
        property.type = std::move(type);
        cls.addProperty(std::move(property));
    }

    // `instance of Class { Name = value; ... }`, the keyword `instance` being the current token.
    std::shared_ptr<const Instance> instance()
    {
        // Bounded so that a runaway nesting is an error message rather than a stack overflow.
        if (m_depth == kMaxDepth)
            fail("objects nested more than " + std::to_string(kMaxDepth) + " deep");
        ++m_depth;
        advance();
        expectKeyword("of", "'of' after 'instance'");
        auto object = std::make_shared<Instance>(declaredClass("a class name"));
        std::vector<bool> assigned(object->values.size());
        expect('{', "'{' opening the instance body");
        while (!m_token.is('}')) {
            skipQualifiers();
            int line = m_token.line;
            if (m_token.kind != MofToken::Kind::Identifier)
                fail("expected a property name or '}'");
            std::string_view name = m_token.word;
            advance();
            size_t index = findProperty(*object->cls, name);
            if (index == ClassDef::npos)
                throw MofError(line, "class '" + printableAscii(object->cls->name) +
                                         "' has no property '" + printableAscii(name) + "'");
            if (assigned[index])
                throw MofError(line, "property '" + printableAscii(name) + "' is set twice");
            assigned[index] = true;
            expect('=', "'=' after the property name");
            object->values[index] = value(object->cls->properties[index].type);
            expect(';', "';' after the property value");
        }
        advance();
        --m_depth;
        return object;
    }

    CimValue value(const CimType& type)
    {
        if (isKeyword("NULL")) {
            advance();
            return CimValue::null();
        }
        if (!type.array)
            return scalar(type);
        if (!m_token.is('{'))
            fail("expected '{' opening a value of type " + typeName(type));
        advance();
        std::vector<CimValue> elements;
        CimType elementType = type;
        elementType.array = false;
        while (!m_token.is('}')) {
            if (!elements.empty())
                expect(',', "',' or '}' in the array value");
            if (isKeyword("NULL")) {
                if (type.kind != CimKind::Object)
                    failType(elementType);
                advance();
                elements.push_back(CimValue::null());
            } else {
                elements.push_back(scalar(elementType));
            }
        }
        advance();
        return CimValue::ofArray(std::move(elements));
    }

    CimValue scalar(const CimType& type)
    {
        switch (type.kind) {
            case CimKind::Boolean:
                if (isKeyword("TRUE") || isKeyword("FALSE")) {
                    bool truth = isKeyword("TRUE");
                    advance();
                    return CimValue::ofInteger(truth ? -1 : 0);  // VARIANT_TRUE / VARIANT_FALSE
                }
                if (m_token.kind != MofToken::Kind::Integer)
                    failType(type);
                // Odd data for tests: kept as the 16-bit pattern a VARIANT_BOOL would carry.
                return CimValue::ofInteger(static_cast<int16_t>(integer(type)));
            case CimKind::Real32:
            case CimKind::Real64:
                return CimValue::ofReal(real(type));
            case CimKind::Char16:
                if (m_token.kind == MofToken::Kind::Char) {
                    wchar_t c = m_token.text[0];
                    advance();
                    if (static_cast<uint32_t>(c) > 0xFFFF)
                        fail("character outside the 16-bit range");
                    return CimValue::ofInteger(c);
                }
                if (m_token.kind != MofToken::Kind::Integer)
                    failType(type);
                return CimValue::ofInteger(integer(type));
            case CimKind::String:
            case CimKind::DateTime: {
                if (m_token.kind != MofToken::Kind::String)
                    failType(type);
                std::wstring text;
                while (m_token.kind == MofToken::Kind::String) {  // adjacent literals join
                    text += m_token.text;
                    advance();
                }
                return CimValue::ofText(std::move(text));
            }
            case CimKind::Object: {
                if (!isKeyword("instance"))
                    failType(type);
                int line = m_token.line;
                std::shared_ptr<const Instance> embedded = instance();
                if (type.objectClass && !embedded->cls->isA(*type.objectClass))
                    throw MofError(
                        line, "expected an instance of '" + printableAscii(type.objectClass->name) +
                                  "', found one of '" + printableAscii(embedded->cls->name) + "'");
                return CimValue::ofObject(std::move(embedded));
            }
            default:
                if (m_token.kind != MofToken::Kind::Integer)
                    failType(type);
                return CimValue::ofInteger(integer(type));
        }
    }

    // A number, or one of the words MOF lacks literals for: `inf`, `-inf` (or `+inf`) and `nan`,
    // in any case. Words rather than numbers, so that a reader that does not know them fails
    // instead of reading another value.
    double real(const CimType& type)
    {
        double sign = 1;
        if (m_token.is('-') || m_token.is('+')) {
            sign = m_token.is('-') ? -1 : 1;
            advance();
            if (!isKeyword("inf"))
                failType(type);
        }
        double value = 0;
        if (isKeyword("inf"))
            value = sign * std::numeric_limits<double>::infinity();
        else if (isKeyword("nan"))
            value = std::numeric_limits<double>::quiet_NaN();
        else if (m_token.kind == MofToken::Kind::Real || m_token.kind == MofToken::Kind::Integer)
            value = m_token.real;
        else
            failType(type);
        advance();
        return value;
    }

    // The current Integer token, checked against the type's range.
    int64_t integer(const CimType& type)
    {
        IntegerRange range{};
        integerRange(type.kind, &range);
        uint64_t limit = m_token.negative ? range.maxNegative : range.maxPositive;
        if (m_token.magnitude > limit) {
            std::string digits = std::to_string(m_token.magnitude);
            throw MofError(m_token.line, "value " + std::string(m_token.negative ? "-" : "") +
                                             digits + " out of range for " + typeName(type));
        }
        uint64_t magnitude = m_token.magnitude;
        bool negative = m_token.negative;
        advance();
        return negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    }

    static constexpr int kMaxDepth = 100;

    MofLexer m_lexer;
    MofToken m_token;
    int m_depth = 0;
    bool m_namespaceSet = false;
    MofContent m_content;
};

}  // namespace

std::wstring namespacePath(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    if (path.compare(0, 4, L"\\\\.\\") == 0)
        path.erase(0, 4);
    return path;
}

MofContent parseMof(const std::string& utf8)
{
    return Parser(utf8).parse();
}

}  // namespace winsim::wmi
