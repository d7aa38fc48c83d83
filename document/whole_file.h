#pragma once
// Files written whole: the new content goes into a temporary file beside the
// target and is moved into place only once it is complete and on the disk, so
// the target is never seen empty or half-written, whatever fails on the way.

#include "document/file_system.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace doc {

/** Puts a file holding exactly bytes at path and returns it, still open for reading and writing.
 * With replaceExisting a file at path is replaced in one step; without it a file that is at path
 * is kept and the call fails. On any failure nothing is left under the temporary name and path
 * is as it was. Durability of the name itself needs FileSystem::syncFolderOf afterwards. Throws
 * IoError ("Disk full" for a short write). */
std::unique_ptr<FileHandle> placeWholeFile(FileSystem& fileSystem, const std::string& path,
                                           std::span<const std::uint8_t> bytes,
                                           bool replaceExisting);

/** Every byte of an open file, read from offset 0 until the file ends. Throws IoError. */
std::vector<std::uint8_t> readWholeFile(FileHandle& file);

} // namespace doc
