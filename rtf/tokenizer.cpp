// Splits RTF bytes into tokens.

#include "rtf/tokenizer.h"

namespace rtf {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Token Tokenizer::next() {
    const qsizetype size = m_input.size();
    while (m_pos < size && (m_input[m_pos] == '\r' || m_input[m_pos] == '\n'))
        ++m_pos;
    Token token;
    if (m_pos >= size)
        return token;
    switch (m_input[m_pos]) {
    case '{':
        ++m_pos;
        token.kind = Token::Kind::GroupStart;
        return token;
    case '}':
        ++m_pos;
        token.kind = Token::Kind::GroupEnd;
        return token;
    case '\\':
        ++m_pos;
        return afterBackslash();
    default:
        break;
    }
    const qsizetype start = m_pos;
    while (m_pos < size) {
        const char c = m_input[m_pos];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    token.kind = Token::Kind::Text;
    token.bytes = m_input.sliced(start, m_pos - start);
    return token;
}

Token Tokenizer::afterBackslash() {
    Token token;
    if (m_pos >= m_input.size())
        return token; // a lone backslash at the very end carries nothing
    const char c = m_input[m_pos];
    if (isLetter(c))
        return controlWord();
    ++m_pos;
    token.kind = Token::Kind::Symbol;
    token.symbol = c == '\r' ? '\n' : c;
    if (c != '\'')
        return token;
    if (m_pos + 1 < m_input.size()) {
        const int high = hexValue(m_input[m_pos]);
        const int low = hexValue(m_input[m_pos + 1]);
        if (high >= 0 && low >= 0) {
            m_pos += 2;
            token.kind = Token::Kind::HexByte;
            token.byte = static_cast<std::uint8_t>(high * 16 + low);
        }
    }
    return token;
}

Token Tokenizer::controlWord() {
    const qsizetype size = m_input.size();
    const qsizetype start = m_pos;
    while (m_pos < size && isLetter(m_input[m_pos]))
        ++m_pos;
    Token token;
    token.kind = Token::Kind::Word;
    token.bytes = m_input.sliced(start, std::min(m_pos - start, kMaxWordLength));

    bool negative = false;
    if (m_pos + 1 < size && m_input[m_pos] == '-' && isDigit(m_input[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    long long value = 0;
    while (m_pos < size && isDigit(m_input[m_pos])) {
        token.hasParameter = true;
        if (value <= kMaxParameter) // stops growing once past the clamp; the digits are still read
            value = value * 10 + (m_input[m_pos] - '0');
        ++m_pos;
    }
    if (value > kMaxParameter)
        value = kMaxParameter;
    token.parameter = static_cast<int>(negative ? -value : value);
    if (m_pos < size && m_input[m_pos] == ' ')
        ++m_pos;

    if (token.bytes == QByteArrayView("bin")) {
        // The data is taken by length, whatever bytes it holds.
        const qsizetype length = std::min<qsizetype>(std::max(token.parameter, 0), size - m_pos);
        token.kind = Token::Kind::Binary;
        token.bytes = m_input.sliced(m_pos, length);
        m_pos += length;
    }
    return token;
}

} // namespace rtf
