// Tokens of PostScript text for the outline reader: a tokenizer, not an
// interpreter. Procedures are read whole but only their shape is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vx::ps {

// One token of the text: a number, a name, or a structure the reader only
// needs to see go by.
struct Token {
    enum class Kind : uint8_t { Number, Name, Literal, Procedure, ArrayOpen, ArrayClose, Other } kind = Kind::Other;
    std::string_view text; // the name, without "/" for a literal
    double number = 0;
    // A procedure: its tokens at its own level, and the first two of them
    // ("{" for a procedure inside it).
    size_t count = 0;
    std::string_view first, second;
};

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : m_text(text) {}

    // The next token; false at the end of the text.
    bool next(Token &t);
    // Skips data read from the file itself, up to and past its end marker.
    void skipPast(std::string_view marker);

private:
    // One token; a procedure is only opened (its kind, no body read).
    bool flat(Token &t);
    // The body of a procedure up to its matching "}", nested ones counted
    // without recursion.
    void procedure(Token &t);
    // A comment; DSC data sections are skipped whole.
    void skipComment();
    void skipToLine(std::string_view marker);
    // A string with nested parentheses and backslash escapes.
    void skipString();
    // "<<", a hexadecimal string or an ASCII85 string.
    void skipAngle();
    std::string_view regular();

    std::string_view m_text;
    size_t m_pos = 0;
    bool m_closed = false; // the last token was a "}"
};

} // namespace vx::ps
