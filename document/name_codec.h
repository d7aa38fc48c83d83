#pragma once
// Name slots: Windows-1252 bytes on disk (codepage/windows1252.h), Unicode in
// the program.

#include "document/file_layout.h"

#include <array>
#include <cstdint>
#include <string>

namespace doc {

using NameSlot = std::array<std::uint8_t, kNameSlotSize>;

/** The name of a slot: the bytes before the first zero byte, all of them when there is none. */
std::u32string readNameSlot(const NameSlot& slot);

/** Puts a name into a slot: its bytes, then one zero byte; the bytes after it stay as they were.
 * A name longer than kMaxNameLength characters keeps its first kMaxNameLength. Returns false and
 * leaves the slot untouched when a character cannot be held by the code page. */
bool writeNameSlot(NameSlot& slot, const std::u32string& name);

} // namespace doc
