#pragma once
// Windows-1252, the code page of the names file, as the one table both the
// document and the edits use. Every byte from 1 to 255 maps to exactly one
// character and back; the five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number.

#include <cstdint>
#include <optional>

namespace cp1252 {

/** The Unicode character of a byte (byte 0 gives U+0000). */
char32_t toUnicode(std::uint8_t byte);

/** The byte of a character, or nothing when the code page cannot hold it (U+0000 included). */
std::optional<std::uint8_t> fromUnicode(char32_t ch);

/** A character a user may type into a name: one the code page holds, from code 32 on, and
 * neither DEL nor a C1 control character. */
bool isPrintable(char32_t ch);

} // namespace cp1252
