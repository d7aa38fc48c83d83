#pragma once
// Byte layout of the data file and the names file. The header is never
// written, only the record count at offset 20.

#include <cstdint>
#include <string>
#include <string_view>

namespace doc {

inline constexpr int kHeaderSize = 100;
inline constexpr int kCountOffset = 20;
inline constexpr int kCountSize = 2;
inline constexpr int kRecordSize = 100;
inline constexpr int kFieldCount = 25;
inline constexpr int kFieldSize = 4;
inline constexpr int kNameSlotSize = 30;
inline constexpr int kMaxNameLength = kNameSlotSize - 1;
inline constexpr int kTableCapacity = 512;

constexpr std::int64_t recordOffset(int r) {
    return kHeaderSize + std::int64_t{kRecordSize} * r;
}
constexpr std::int64_t nameSlotOffset(int r) {
    return std::int64_t{kNameSlotSize} * r;
}

/** Where path's last folder separator is, npos when it has none. The one place that knows what
 * separates folders: only "/" on Linux ("\\" and ":" are ordinary characters of a name there); on
 * Windows "\\", "/" and the ":" after a drive letter. */
std::size_t lastFolderSeparator(std::string_view path);

/** The names file beside a data file: the extension of the path's last part (after its last
 * separator) becomes ".nam", or ".nam" is appended when the last part has no ".". */
std::string namesFilePath(const std::string& dataPath);

/** The folder part of a path: up to and including its last separator; empty when it has none. */
std::string folderOfPath(const std::string& path);

/** The last part of a path, as messages name a file. */
std::string fileNameOf(const std::string& path);

} // namespace doc
