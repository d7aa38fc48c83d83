#include "document/whole_file.h"

#include "document/errors.h"

namespace doc {

std::unique_ptr<FileHandle> placeWholeFile(FileSystem& fileSystem, const std::string& path,
                                           std::span<const std::uint8_t> bytes,
                                           bool replaceExisting) {
    TemporaryFile created = fileSystem.createTemporary(path);
    try {
        if (created.handle->writeAt(0, bytes.data(), bytes.size()) != bytes.size())
            throw IoError(IoCode::DiskFull);
        // On the disk before it has the name, so that a crash never leaves the name on an
        // empty file.
        created.handle->sync();
        fileSystem.rename(created.path, path, replaceExisting);
    } catch (...) {
        // The failure that led here is the one reported; cleaning up may fail too, but the
        // temporary name is all it could leave.
        try {
            created.handle->close();
        } catch (const Error&) {
        }
        try {
            fileSystem.remove(created.path);
        } catch (const Error&) {
        }
        throw;
    }
    return std::move(created.handle);
}

std::vector<std::uint8_t> readWholeFile(FileHandle& file) {
    constexpr std::size_t kChunk = 64 * 1024;
    std::vector<std::uint8_t> bytes;
    for (;;) {
        const std::size_t have = bytes.size();
        bytes.resize(have + kChunk);
        const std::size_t got =
            file.readAt(static_cast<std::int64_t>(have), bytes.data() + have, kChunk);
        bytes.resize(have + got);
        if (got < kChunk)
            return bytes;
    }
}

} // namespace doc
