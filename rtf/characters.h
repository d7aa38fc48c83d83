#pragma once
// Which characters RTF carries as text, for the reader and the writer alike.

namespace rtf {

/** False for characters a document holds that are not text: control characters other than the
 * tab (CR and LF included, which would split blocks), the object replacement character that
 * stands for an image, and the frame markers. */
constexpr bool isCarriedText(char16_t c) {
    if (c < 0x20)
        return c == u'\t';
    return c != 0xFFFC && c != 0xFDD0 && c != 0xFDD1;
}

} // namespace rtf
