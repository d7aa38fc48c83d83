#pragma once
// The single-byte Windows code pages that RTF text may be written in: which one a font's
// character set stands for, bytes to characters, and characters to Windows-1252 bytes.

#include <cstdint>
#include <optional>

namespace rtf {

/** The code page of the document unless a font names its own (\ansicpg default). */
inline constexpr int kWindows1252 = 1252;

/** The code page that an \fcharsetN value stands for, or 0 when the value leaves it to the
 * document (1 "default", 2 "symbol") or names none. */
int codePageOfCharset(int charset);

/** Decodes bytes of one code page. A code page without a table here (the multi-byte East Asian
 * ones, the Mac and DOS pages) decodes ASCII and gives U+FFFD for every byte from 0x80. */
class ByteDecoder {
public:
    explicit ByteDecoder(int codePage = kWindows1252);

    char16_t decode(std::uint8_t byte) const {
        return byte < 0x80 ? char16_t{byte} : m_high[byte - 0x80];
    }

private:
    const char16_t* m_high;
};

/** The Windows-1252 byte of a character from U+0080 on, or nothing when it has none. Bytes the
 * code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are not given out. */
std::optional<std::uint8_t> windows1252Byte(char16_t ch);

} // namespace rtf
