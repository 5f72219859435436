#include "wmi/mof_lexer.h"

#include "sim/utf8.h"

#include <algorithm>
#include <cstdlib>

namespace winsim::wmi {

namespace {

// A repository with broken text is refused rather than guessed at.
void checkUtf8(std::string_view text)
{
    size_t invalid = findInvalidUtf8(text);
    if (invalid == std::string_view::npos)
        return;
    std::string_view before = text.substr(0, invalid);
    throw MofError(1 + static_cast<int>(std::count(before.begin(), before.end(), '\n')),
                   "invalid UTF-8 text");
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isIdentStart(char c)
{
    return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool isIdentChar(char c)
{
    return isIdentStart(c) || isDigit(c);
}
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

bool MofToken::isKeyword(const char* keyword) const
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (kind != Kind::Identifier || word.size() != std::char_traits<char>::length(keyword))
        return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (lower(word[i]) != lower(keyword[i]))
            return false;
    return true;
}

std::wstring MofToken::wide() const
{
    return fromUtf8(word);
}

std::string MofToken::describe() const
{
    switch (kind) {
        case Kind::End:
            return "end of file";
        case Kind::Identifier:
        case Kind::Punct:
            return "'" + printableAscii(word) + "'";
        case Kind::Integer:
        case Kind::Real:
            return "a number";
        case Kind::String:
            return "a string";
        case Kind::Char:
            return "a character literal";
        case Kind::Pragma:
            return "#pragma";
    }
    return "?";
}

MofLexer::MofLexer(std::string_view utf8) : m_text(utf8)
{
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
        m_text.remove_prefix(3);
    checkUtf8(m_text);
}

MofToken MofLexer::next()
{
    skipSpaceAndComments();
    MofToken token;
    token.line = m_line;
    if (m_pos >= m_text.size())
        return token;
    char c = m_text[m_pos];
    if (c == '#') {  // only #pragma at the start of a line reaches here
        size_t end = m_text.find('\n', m_pos);
        if (end == std::string_view::npos)
            end = m_text.size();
        token.kind = MofToken::Kind::Pragma;
        token.word = m_text.substr(m_pos + 7, end - m_pos - 7);
        m_pos = end;
        return token;
    }
    char following = m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : 0;
    if (isDigit(c) || ((c == '-' || c == '+' || c == '.') && isDigit(following)))
        return number();
    if (isIdentStart(c)) {
        size_t start = m_pos;
        while (m_pos < m_text.size() && isIdentChar(m_text[m_pos]))
            ++m_pos;
        token.kind = MofToken::Kind::Identifier;
        token.word = m_text.substr(start, m_pos - start);
        return token;
    }
    if (c == '"') {
        token.kind = MofToken::Kind::String;
        token.text = quoted('"');
        return token;
    }
    if (c == '\'') {
        token.kind = MofToken::Kind::Char;
        token.text = quoted('\'');
        if (token.text.size() != 1)
            throw MofError(token.line, "a character literal holds one character");
        return token;
    }
    // A sign not followed by a number is a mark of its own: it may precede `inf`.
    if (std::string_view("{}[]();=,:+-").find(c) != std::string_view::npos) {
        token.kind = MofToken::Kind::Punct;
        token.word = m_text.substr(m_pos++, 1);
        return token;
    }
    throw MofError(m_line,
                   "unexpected character '" + printableAscii(std::string_view(&c, 1)) + "'");
}

void MofLexer::skipSpaceAndComments()
{
    bool lineStart = m_pos == 0;
    while (m_pos < m_text.size()) {
        char c = m_text[m_pos];
        if (c == '\n') {
            ++m_line;
            ++m_pos;
            lineStart = true;
        } else if (isSpace(c)) {
            ++m_pos;
        } else if (lineStart && m_text.compare(m_pos, 7, "#pragma") == 0) {
            return;  // the repository's namespace may be named there
        } else if (m_text.compare(m_pos, 2, "//") == 0 || (lineStart && c == '#')) {
            // Line comments, and other preprocessor-style lines, which carry nothing the stand-in
            // needs.
            while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                ++m_pos;
        } else if (m_text.compare(m_pos, 2, "/*") == 0) {
            int startLine = m_line;
            size_t end = m_text.find("*/", m_pos + 2);
            if (end == std::string_view::npos)
                throw MofError(startLine, "unterminated comment");
            for (size_t i = m_pos; i < end; ++i)
                if (m_text[i] == '\n')
                    ++m_line;
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
    if (m_text[m_pos] == '-' || m_text[m_pos] == '+') {
        token.negative = m_text[m_pos] == '-';
        ++m_pos;
    }
    size_t digits = m_pos;
    if (m_text.compare(m_pos, 2, "0x") == 0 || m_text.compare(m_pos, 2, "0X") == 0) {
        m_pos += 2;
        size_t first = m_pos;
        while (m_pos < m_text.size() && hexDigit(m_text[m_pos]) >= 0) {
            if (token.magnitude >> 60)
                throw MofError(m_line, "integer too large");
            token.magnitude = token.magnitude * 16 + static_cast<uint64_t>(hexDigit(m_text[m_pos]));
            ++m_pos;
        }
        if (m_pos == first)
            throw MofError(m_line, "expected hexadecimal digits after 0x");
        token.kind = MofToken::Kind::Integer;
    } else {
        while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
            ++m_pos;
        bool real = false;
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            real = true;
            ++m_pos;
            while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
                ++m_pos;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            real = true;
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '-' || m_text[m_pos] == '+'))
                ++m_pos;
            size_t exponent = m_pos;
            while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
                ++m_pos;
            if (m_pos == exponent)
                throw MofError(m_line, "expected digits of an exponent");
        }
        if (real) {
            token.kind = MofToken::Kind::Real;
        } else {
            token.kind = MofToken::Kind::Integer;
            for (size_t i = digits; i < m_pos; ++i) {
                uint64_t d = static_cast<uint64_t>(m_text[i] - '0');
                if (token.magnitude > (UINT64_MAX - d) / 10)
                    throw MofError(m_line, "integer too large");
                token.magnitude = token.magnitude * 10 + d;
            }
        }
    }
    if (m_pos < m_text.size() && isIdentChar(m_text[m_pos]))
        throw MofError(m_line, "malformed number");
    if (token.kind == MofToken::Kind::Real)
        token.real = std::strtod(std::string(m_text.substr(start, m_pos - start)).c_str(), nullptr);
    else
        token.real = (token.negative ? -1.0 : 1.0) * static_cast<double>(token.magnitude);
    return token;
}

std::wstring MofLexer::quoted(char quote)
{
    int startLine = m_line;
    ++m_pos;  // opening quote
    std::wstring value;
    while (true) {
        if (m_pos >= m_text.size() || m_text[m_pos] == '\n')
            throw MofError(startLine,
                           quote == '"' ? "unterminated string" : "unterminated character literal");
        char c = m_text[m_pos];
        if (c == quote) {
            ++m_pos;
            return value;
        }
        if (c == '\\') {
            ++m_pos;
            value.push_back(escape());
            continue;
        }
        char32_t cp = 0;
        decodeUtf8(m_text, m_pos, cp);  // checked when the lexer was made
        appendWide(value, cp);
    }
}

wchar_t MofLexer::escape()
{
    if (m_pos >= m_text.size())
        throw MofError(m_line, "unterminated string");
    char c = m_text[m_pos++];
    switch (c) {
        case '\\':
            return L'\\';
        case '"':
            return L'"';
        case '\'':
            return L'\'';
        case 'n':
            return L'\n';
        case 't':
            return L'\t';
        case 'r':
            return L'\r';
        case 'b':
            return L'\b';
        case 'f':
            return L'\f';
        case 'x':
        case 'X': {
            uint32_t value = 0;
            int count = 0;
            while (count < 4 && m_pos < m_text.size() && hexDigit(m_text[m_pos]) >= 0) {
                value = value * 16 + static_cast<uint32_t>(hexDigit(m_text[m_pos++]));
                ++count;
            }
            if (count == 0)
                throw MofError(m_line, "expected hexadecimal digits after \\x");
            return static_cast<wchar_t>(value);
        }
        default:
            throw MofError(m_line, "unknown escape sequence '\\" +
                                       printableAscii(std::string_view(&c, 1)) + "'");
    }
}

}  // namespace winsim::wmi
