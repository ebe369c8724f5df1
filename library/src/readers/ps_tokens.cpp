// The tokens of PostScript text: numbers, names, literal names, procedures
// (only their shape), array marks; strings, comments and data skipped.
#include "readers/ps_tokens.h"
#include "foundation/text_input.h"

#include <algorithm>
#include <cstring>

namespace vx::ps {

namespace {

bool isDelimiter(char c)
{
    return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0'; }

} // namespace

bool Tokenizer::next(Token &t)
{
    if (!flat(t))
        return false;
    if (t.kind == Token::Kind::Procedure)
        procedure(t);
    return true;
}

void Tokenizer::skipPast(std::string_view marker)
{
    const size_t end = m_text.find(marker, m_pos);
    m_pos = end == std::string_view::npos ? m_text.size() : end + marker.size();
}

bool Tokenizer::flat(Token &t)
{
    for (;;) {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
            ++m_pos;
        if (m_pos >= m_text.size())
            return false;
        if (m_text[m_pos] != '%')
            break;
        skipComment();
    }
    const char c = m_text[m_pos];
    t = Token{};
    m_closed = false;
    switch (c) {
    case '(':
        skipString();
        return true;
    case '<':
        skipAngle();
        return true;
    case '>':
    case ')':
    case '}':
        ++m_pos;
        if (c == '>' && m_pos < m_text.size() && m_text[m_pos] == '>')
            ++m_pos;
        m_closed = c == '}';
        return true;
    case '[':
    case ']':
        ++m_pos;
        t.kind = c == '[' ? Token::Kind::ArrayOpen : Token::Kind::ArrayClose;
        return true;
    case '{':
        ++m_pos;
        t.kind = Token::Kind::Procedure;
        return true;
    case '/':
        ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '/')
            ++m_pos;
        t.kind = Token::Kind::Literal;
        t.text = regular();
        return true;
    default:
        break;
    }
    t.text = regular();
    t.kind = parseWholeDouble(t.text, t.number) ? Token::Kind::Number : Token::Kind::Name;
    return true;
}

void Tokenizer::procedure(Token &t)
{
    size_t depth = 1;
    Token inner;
    while (flat(inner)) {
        if (m_closed && --depth == 0)
            return;
        if (depth == 1) {
            ++t.count;
            const std::string_view shown = inner.kind == Token::Kind::Name ? inner.text : std::string_view("{");
            if (t.count == 1)
                t.first = shown;
            else if (t.count == 2)
                t.second = shown;
        }
        if (inner.kind == Token::Kind::Procedure)
            ++depth;
    }
}

void Tokenizer::skipComment()
{
    const size_t start = m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != '\n' && m_text[m_pos] != '\r')
        ++m_pos;
    const std::string_view comment = m_text.substr(start, m_pos - start);
    if (comment.starts_with("%%BeginBinary"))
        skipToLine("%%EndBinary");
    else if (comment.starts_with("%%BeginData"))
        skipToLine("%%EndData");
}

void Tokenizer::skipToLine(std::string_view marker)
{
    size_t at = m_pos;
    while ((at = m_text.find(marker, at)) != std::string_view::npos) {
        if (m_text[at - 1] == '\n' || m_text[at - 1] == '\r')
            break;
        ++at;
    }
    m_pos = at == std::string_view::npos ? m_text.size() : at;
}

void Tokenizer::skipString()
{
    size_t depth = 0;
    while (m_pos < m_text.size()) {
        const char c = m_text[m_pos++];
        if (c == '\\')
            ++m_pos;
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            break;
    }
    m_pos = std::min(m_pos, m_text.size());
}

void Tokenizer::skipAngle()
{
    ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == '<') {
        ++m_pos;
        return;
    }
    const bool ascii85 = m_pos < m_text.size() && m_text[m_pos] == '~';
    const size_t end = m_text.find(ascii85 ? "~>" : ">", m_pos);
    m_pos = end == std::string_view::npos ? m_text.size() : end + (ascii85 ? 2 : 1);
}

std::string_view Tokenizer::regular()
{
    const size_t start = m_pos;
    while (m_pos < m_text.size() && !isSpace(m_text[m_pos]) && !isDelimiter(m_text[m_pos]))
        ++m_pos;
    return m_text.substr(start, m_pos - start);
}

} // namespace vx::ps
