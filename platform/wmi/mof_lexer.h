// Splits MOF text into tokens: identifiers, integer and real numbers, strings and character
// literals with their escapes decoded, and single-character punctuation. Comments and
// `#pragma` lines are skipped. Errors are thrown as MofError with the line they were found on.
#ifndef WINSIM_WMI_MOF_LEXER_H
#define WINSIM_WMI_MOF_LEXER_H

#include <cstdint>
#include <stdexcept>
#include <string>

namespace winsim::wmi {

struct MofError : std::runtime_error {
    MofError(int l, const std::string& what) : std::runtime_error(what), line(l) {}
    int line;
};

struct MofToken {
    enum class Kind { End, Identifier, Integer, Real, String, Char, Punct };
    Kind kind = Kind::End;
    int line = 1;
    std::wstring text;        // identifier, decoded string or character, or the punctuation mark
    bool negative = false;    // Integer: a leading minus sign
    uint64_t magnitude = 0;   // Integer: absolute value
    double real = 0;          // Real (also set for Integer, for real-typed properties)

    bool is(wchar_t punct) const { return kind == Kind::Punct && text.size() == 1 && text[0] == punct; }
    // How the token reads in an error message ("'}'", "identifier 'Foo'", "end of file").
    std::string describe() const;
};

class MofLexer {
public:
    // `utf8` is the file's content; a leading byte-order mark is ignored.
    explicit MofLexer(const std::string& utf8);

    MofToken next();

private:
    void skipSpaceAndComments();
    MofToken number();
    std::wstring quoted(wchar_t quote);
    wchar_t escape();

    std::wstring m_text;
    size_t m_pos = 0;
    int m_line = 1;
};

}  // namespace winsim::wmi

#endif
