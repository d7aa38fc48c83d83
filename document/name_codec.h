#pragma once
// Names are Windows-1252 bytes on disk and Unicode in the program. Every byte
// from 1 to 255 maps to exactly one character and back; the five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control
// characters of the same number.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace doc {

using NameSlot = std::array<std::uint8_t, 30>;

/** The Unicode character of a byte (byte 0 gives U+0000). */
char32_t cp1252ToUnicode(std::uint8_t byte);

/** The byte of a character, or nothing when the code page cannot hold it (U+0000 included). */
std::optional<std::uint8_t> unicodeToCp1252(char32_t ch);

/** The name of a slot: the bytes before the first zero byte, all 30 when there is none. */
std::u32string readNameSlot(const NameSlot& slot);

/** Puts a name into a slot: its bytes, then one zero byte; the bytes after it stay as they were.
 * A name longer than 29 characters keeps its first 29. Returns false and leaves the slot
 * untouched when a character cannot be held by the code page. */
bool writeNameSlot(NameSlot& slot, const std::u32string& name);

} // namespace doc
