// Splits MOF text into tokens: identifiers, integer and real numbers, strings and character
// literals with their escapes decoded, and single-character punctuation. Comments and
// preprocessor lines are skipped, except `#pragma` lines, which come as one Pragma token. Errors
// are thrown as MofError with the line they were found on. The lexer works on the UTF-8 bytes as
// they are, so that a large repository is not copied.
#ifndef WINSIM_WMI_MOF_LEXER_H
#define WINSIM_WMI_MOF_LEXER_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace winsim::wmi {

struct MofError : std::runtime_error
{
    MofError(int l, const std::string& what) : std::runtime_error(what), line(l) {}
    int line;
};

struct MofToken
{
    enum class Kind
    {
        End,
        Identifier,
        Integer,
        Real,
        String,
        Char,
        Punct,
        Pragma
    };
    Kind kind = Kind::End;
    int line = 1;
    std::string_view word;   // identifier, punctuation mark or what follows #pragma (UTF-8), a view
                             // of the lexer's text
    std::wstring text;       // decoded string or character
    bool negative = false;   // Integer: a leading minus sign
    uint64_t magnitude = 0;  // Integer: absolute value
    double real = 0;         // Real (also set for Integer, for real-typed properties)

    bool is(char punct) const { return kind == Kind::Punct && word[0] == punct; }
    // An identifier equal to the ASCII keyword, in any case.
    bool isKeyword(const char* keyword) const;
    // The identifier as wide text.
    std::wstring wide() const;
    // How the token reads in an error message ("'}'", "'Foo'", "end of file").
    std::string describe() const;
};

class MofLexer
{
public:
    // `utf8` is the file's content, which must outlive the lexer and its tokens; a leading
    // byte-order mark is ignored.
    explicit MofLexer(std::string_view utf8);

    MofToken next();

private:
    void skipSpaceAndComments();
    MofToken number();
    std::wstring quoted(char quote);
    wchar_t escape();

    std::string_view m_text;
    size_t m_pos = 0;
    int m_line = 1;
};

}  // namespace winsim::wmi

#endif
