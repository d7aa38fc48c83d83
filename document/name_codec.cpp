#include "document/name_codec.h"

#include "codepage/windows1252.h"
#include "document/file_layout.h"

#include <algorithm>

namespace doc {

std::u32string readNameSlot(const NameSlot& slot) {
    std::u32string name;
    for (const std::uint8_t byte : slot) {
        if (byte == 0)
            break;
        name.push_back(cp1252::toUnicode(byte));
    }
    return name;
}

bool writeNameSlot(NameSlot& slot, const std::u32string& name) {
    const std::size_t length = std::min<std::size_t>(name.size(), kMaxNameLength);
    NameSlot updated = slot;
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = cp1252::fromUnicode(name[i]);
        if (!byte)
            return false;
        updated[i] = *byte;
    }
    updated[length] = 0; // the bytes after the terminator stay as they were
    slot = updated;
    return true;
}

} // namespace doc
