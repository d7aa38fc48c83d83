#include "document/errors.h"

namespace doc {

IoError::IoError(int code) : Error(messageFor(code)), m_code(code) {}

IoError IoError::unlisted(int systemError) {
    return IoError(systemError, "I/O error " + std::to_string(systemError));
}

std::string IoError::messageFor(int code) {
    switch (static_cast<IoCode>(code)) {
    case IoCode::FileNotFound:
        return "File not found";
    case IoCode::InvalidFilename:
        return "Invalid filename";
    case IoCode::TooManyOpenFiles:
        return "Too many open files";
    case IoCode::AccessDenied:
        return "File access denied";
    case IoCode::ReadBeyondEnd:
        return "Read beyond end of file";
    case IoCode::DiskFull:
        return "Disk full";
    case IoCode::InvalidNumericInput:
        return "Invalid numeric input";
    case IoCode::NotOpen:
        break;
    }
    return "I/O error " + std::to_string(code);
}

} // namespace doc
