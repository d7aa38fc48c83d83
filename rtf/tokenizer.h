#pragma once
// Splits RTF bytes into tokens: braces, control words, control symbols, \'hh bytes, runs of text
// and \bin data. Each byte is looked at once, so tokenizing is linear in the input.

#include <QByteArrayView>

#include <cstdint>

namespace rtf {

struct Token {
    enum class Kind : std::uint8_t {
        End,
        GroupStart,
        GroupEnd,
        Word,
        Symbol,
        HexByte,
        Text,
        Binary
    };

    Kind kind = Kind::End;
    /** Word: the name, at most kMaxWordLength letters. Text: bytes without CR, LF, backslash or
     * brace. Binary: the data that followed \binN, cut short at the end of the input. */
    QByteArrayView bytes;
    /** Word: the parameter, clamped to [-kMaxParameter, kMaxParameter]. */
    int parameter = 0;
    bool hasParameter = false;
    /** Symbol: the character after the backslash (CR and LF stand for LF; a malformed \' gives
     * '\''). HexByte: the byte. */
    char symbol = 0;
    std::uint8_t byte = 0;
};

class Tokenizer {
public:
    static constexpr qsizetype kMaxWordLength = 32;
    static constexpr int kMaxParameter = 999'999'999;

    explicit Tokenizer(QByteArrayView input) : m_input(input) {}

    /** The next token; End from the end of the input on. */
    Token next();

private:
    Token afterBackslash();
    Token controlWord();

    QByteArrayView m_input;
    qsizetype m_pos = 0;
};

} // namespace rtf
