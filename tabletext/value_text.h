#pragma once
// Field values and names as the command-line companion writes and reads them: the same text
// whatever the locale, so an export read back gives the same bits.

#include "document/field_table.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tabletext {

/** A field's stored bits as text: integers and flags unsigned decimal; finite floats in the
 * shortest form that reads back to the same single ("1.234", "-0", "1e-45"); NaN and the
 * infinities as their bit pattern in hexadecimal ("0x7FC00000"). */
std::string valueText(doc::FieldType type, std::uint32_t bits);
/** valueText with field's own type (field: 0 to 24). */
std::string fieldValueText(int field, std::uint32_t bits);

/** Whether valueText writes a float's bits as a number (not as a bit pattern). */
bool isWrittenAsNumber(doc::FieldType type, std::uint32_t bits);

/** The bits a cell's text stands for, or the reason it stands for none. Integers and flags:
 * unsigned decimal up to 4294967295 (a whole number in a decimal or exponent form, as
 * spreadsheets write, is taken too, but only when it is exactly whole: "1E+3" and "10000.0" are,
 * "1.0000000000000000000000000000000001" is not). Floats: a decimal with "." and an optional
 * exponent, rounded to the nearest single, or a bit pattern "0x" and 1 to 8 hexadecimal digits. */
struct ParsedValue {
    std::uint32_t bits = 0;
    std::string error; // empty when bits holds the value
};
ParsedValue parseValueText(doc::FieldType type, std::string_view text);

/** What the check command reports about a stored value the editor reads but does not expect: a
 * flag other than 0 and 1 ("7 is neither 0 nor 1"), a float that is not a finite number; empty
 * for any other value. */
std::string valueProblem(doc::FieldType type, std::uint32_t bits);

/** UTF-8 of text made of Unicode characters. */
std::string toUtf8(std::u32string_view text);
/** The characters of UTF-8 text, or nothing when it is not valid UTF-8. */
std::optional<std::u32string> fromUtf8(std::string_view text);

/** Whether escapedForTerminal writes a backslash as "\\" (so that every escape reads back one
 * way) or as it is: Windows paths, whose "\" separates folders and whose names hold no control
 * character, stay readable so. */
enum class Backslashes { Escaped, Kept };

/** Text made safe for a terminal: control characters (NUL included), DEL, C1 controls and the
 * backslash written as escapes ("\n", "\t", "\r", "\\", "\x00", "\x1b", "\x9b"), everything
 * else as UTF-8. In bytes that are not valid UTF-8, each byte that is not part of a valid
 * character is written as an escape too ("\xff"). Every message cvnobj prints passes through
 * here, whatever part of it came from outside (a path, a column, a cell, a name). */
std::string escapedForTerminal(std::string_view text,
                               Backslashes backslashes = Backslashes::Escaped);
std::string escapedForTerminal(std::u32string_view text);

/** A piece of outside text quoted in a message (a column's name, a cell), kept short: longer
 * than limit bytes, it is cut at a character's start and its length follows ("aaa... (1048576
 * bytes)"), so a message stays a line however large the source. */
std::string excerpt(std::string_view text, std::size_t limit = 80);

} // namespace tabletext
