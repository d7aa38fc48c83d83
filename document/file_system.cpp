#include "document/file_system.h"

#include "document/errors.h"

#include <cerrno>
#include <optional>

namespace doc {

namespace {

/** The system errors that have a code of their own in the I/O message table. */
std::optional<IoCode> listedCode(int err) {
    switch (err) {
    case ENOENT:
        return IoCode::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return IoCode::InvalidFilename;
    case EMFILE:
    case ENFILE:
        return IoCode::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
        return IoCode::AccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return IoCode::DiskFull;
    default:
        return std::nullopt;
    }
}

} // namespace

int ioCodeForErrno(int err) {
    const auto code = listedCode(err);
    return code ? static_cast<int>(*code) : err;
}

IoError ioErrorForErrno(int err) {
    const auto code = listedCode(err);
    return code ? IoError(*code) : IoError::unlisted(err);
}

void removeQuietly(FileSystem& fileSystem, const std::string& path) {
    try {
        fileSystem.remove(path);
    } catch (const Error&) {
    }
}

} // namespace doc
