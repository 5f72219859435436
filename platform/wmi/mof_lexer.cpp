#include "wmi/mof_lexer.h"

#include <cstdlib>
#include <cwctype>

namespace winsim::wmi {

namespace {

// Strict UTF-8 decoding: a repository with broken text is refused rather than guessed at.
std::wstring decodeUtf8(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    int line = 1;
    size_t i = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            if (c == '\n') ++line;
            out.push_back(static_cast<wchar_t>(c));
            ++i;
            continue;
        }
        int extra = c >= 0xF5 ? -1 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 ? 1 : -1;
        if (extra < 0 || i + extra >= bytes.size())
            throw MofError(line, "invalid UTF-8 text");
        uint32_t cp = c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80) throw MofError(line, "invalid UTF-8 text");
            cp = (cp << 6) | (cc & 0x3F);
        }
        static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            throw MofError(line, "invalid UTF-8 text");
        out.push_back(static_cast<wchar_t>(cp));
        i += extra + 1;
    }
    return out;
}

std::string narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    return out;
}

bool isIdentStart(wchar_t c) { return c == L'_' || (c < 0x80 && std::iswalpha(c)) || c >= 0x80; }
bool isIdentChar(wchar_t c) { return isIdentStart(c) || (c >= L'0' && c <= L'9'); }
int hexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

}  // namespace

std::string MofToken::describe() const
{
    switch (kind) {
    case Kind::End: return "end of file";
    case Kind::Identifier: return "'" + narrow(text) + "'";
    case Kind::Integer:
    case Kind::Real: return "a number";
    case Kind::String: return "a string";
    case Kind::Char: return "a character literal";
    case Kind::Punct: return "'" + narrow(text) + "'";
    }
    return "?";
}

MofLexer::MofLexer(const std::string& utf8) : m_text(decodeUtf8(utf8)) {}

MofToken MofLexer::next()
{
    skipSpaceAndComments();
    MofToken token;
    token.line = m_line;
    if (m_pos >= m_text.size()) return token;
    wchar_t c = m_text[m_pos];
    wchar_t following = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : 0;
    if ((c >= L'0' && c <= L'9') || ((c == L'-' || c == L'+' || c == L'.') && following >= L'0' && following <= L'9'))
        return number();
    if (isIdentStart(c)) {
        size_t start = m_pos;
        while (m_pos < m_text.size() && isIdentChar(m_text[m_pos])) ++m_pos;
        token.kind = MofToken::Kind::Identifier;
        token.text = m_text.substr(start, m_pos - start);
        return token;
    }
    if (c == L'"') {
        token.kind = MofToken::Kind::String;
        token.text = quoted(L'"');
        return token;
    }
    if (c == L'\'') {
        token.kind = MofToken::Kind::Char;
        token.text = quoted(L'\'');
        if (token.text.size() != 1) throw MofError(token.line, "a character literal holds one character");
        return token;
    }
    static const std::wstring kPunct = L"{}[]();=,:";
    if (kPunct.find(c) != std::wstring::npos) {
        ++m_pos;
        token.kind = MofToken::Kind::Punct;
        token.text.assign(1, c);
        return token;
    }
    throw MofError(m_line, "unexpected character '" + narrow(std::wstring(1, c)) + "'");
}

void MofLexer::skipSpaceAndComments()
{
    bool lineStart = m_pos == 0;
    while (m_pos < m_text.size()) {
        wchar_t c = m_text[m_pos];
        if (c == L'\n') {
            ++m_line;
            ++m_pos;
            lineStart = true;
        } else if (std::iswspace(c)) {
            ++m_pos;
        } else if (m_text.compare(m_pos, 2, L"//") == 0 || (lineStart && c == L'#')) {
            // Line comments, and preprocessor-style lines such as #pragma, which carry nothing
            // the stand-in needs (it has one namespace).
            while (m_pos < m_text.size() && m_text[m_pos] != L'\n') ++m_pos;
        } else if (m_text.compare(m_pos, 2, L"/*") == 0) {
            int startLine = m_line;
            size_t end = m_text.find(L"*/", m_pos + 2);
            if (end == std::wstring::npos) throw MofError(startLine, "unterminated comment");
            for (size_t i = m_pos; i < end; ++i)
                if (m_text[i] == L'\n') ++m_line;
            m_pos = end + 2;
            lineStart = false;
        } else {
            return;
        }
    }
}

MofToken MofLexer::number()
{
    MofToken token;
    token.line = m_line;
    size_t start = m_pos;
    if (m_text[m_pos] == L'-' || m_text[m_pos] == L'+') {
        token.negative = m_text[m_pos] == L'-';
        ++m_pos;
    }
    size_t digits = m_pos;
    bool hex = m_text.compare(m_pos, 2, L"0x") == 0 || m_text.compare(m_pos, 2, L"0X") == 0;
    if (hex) {
        m_pos += 2;
        size_t first = m_pos;
        while (m_pos < m_text.size() && hexDigit(m_text[m_pos]) >= 0) {
            if (token.magnitude >> 60) throw MofError(m_line, "integer too large");
            token.magnitude = token.magnitude * 16 + hexDigit(m_text[m_pos]);
            ++m_pos;
        }
        if (m_pos == first) throw MofError(m_line, "expected hexadecimal digits after 0x");
        token.kind = MofToken::Kind::Integer;
    } else {
        while (m_pos < m_text.size() && m_text[m_pos] >= L'0' && m_text[m_pos] <= L'9') ++m_pos;
        bool real = false;
        if (m_pos < m_text.size() && m_text[m_pos] == L'.') {
            real = true;
            ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= L'0' && m_text[m_pos] <= L'9') ++m_pos;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == L'e' || m_text[m_pos] == L'E')) {
            real = true;
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == L'-' || m_text[m_pos] == L'+')) ++m_pos;
            size_t exponent = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] >= L'0' && m_text[m_pos] <= L'9') ++m_pos;
            if (m_pos == exponent) throw MofError(m_line, "expected digits of an exponent");
        }
        if (real) {
            token.kind = MofToken::Kind::Real;
        } else {
            token.kind = MofToken::Kind::Integer;
            for (size_t i = digits; i < m_pos; ++i) {
                uint64_t d = static_cast<uint64_t>(m_text[i] - L'0');
                if (token.magnitude > (UINT64_MAX - d) / 10) throw MofError(m_line, "integer too large");
                token.magnitude = token.magnitude * 10 + d;
            }
        }
    }
    if (m_pos < m_text.size() && isIdentChar(m_text[m_pos]))
        throw MofError(m_line, "malformed number");
    std::string literal = narrow(m_text.substr(start, m_pos - start));
    token.real = token.kind == MofToken::Kind::Real ? std::strtod(literal.c_str(), nullptr)
                                                    : (token.negative ? -1.0 : 1.0) * double(token.magnitude);
    return token;
}

std::wstring MofLexer::quoted(wchar_t quote)
{
    int startLine = m_line;
    ++m_pos;  // opening quote
    std::wstring value;
    while (true) {
        if (m_pos >= m_text.size() || m_text[m_pos] == L'\n')
            throw MofError(startLine, quote == L'"' ? "unterminated string" : "unterminated character literal");
        wchar_t c = m_text[m_pos++];
        if (c == quote) return value;
        value.push_back(c == L'\\' ? escape() : c);
    }
}

wchar_t MofLexer::escape()
{
    if (m_pos >= m_text.size()) throw MofError(m_line, "unterminated string");
    wchar_t c = m_text[m_pos++];
    switch (c) {
    case L'\\': return L'\\';
    case L'"': return L'"';
    case L'\'': return L'\'';
    case L'n': return L'\n';
    case L't': return L'\t';
    case L'r': return L'\r';
    case L'b': return L'\b';
    case L'f': return L'\f';
    case L'x':
    case L'X': {
        uint32_t value = 0;
        int count = 0;
        while (count < 4 && m_pos < m_text.size() && hexDigit(m_text[m_pos]) >= 0) {
            value = value * 16 + static_cast<uint32_t>(hexDigit(m_text[m_pos++]));
            ++count;
        }
        if (count == 0) throw MofError(m_line, "expected hexadecimal digits after \\x");
        return static_cast<wchar_t>(value);
    }
    default:
        throw MofError(m_line, "unknown escape sequence '\\" + narrow(std::wstring(1, c)) + "'");
    }
}

}  // namespace winsim::wmi
