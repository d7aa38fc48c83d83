#pragma once
// The typed errors of the document layer. Each carries the exact text the
// application-wide handler shows; nothing above this layer builds error texts.

#include "document/io_code.h"

#include <stdexcept>
#include <string>

namespace doc {

/** Any failure of a command that is reported to the user with its message. */
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

/** A failing file operation; code is an I/O code or, for a condition without one, the
 * system's error number. */
class IoError : public Error {
public:
    explicit IoError(IoCode code) : IoError(static_cast<int>(code)) {}
    /** A code of the message table, or any other number shown as "I/O error <number>". */
    explicit IoError(int code);
    int code() const { return m_code; }

    /** A system error number that has no code of its own: always "I/O error <number>", never
     * looked up in the table, so an EIO of 5 does not read "File access denied". */
    static IoError unlisted(int systemError);

    /** The I/O message table: "File not found", ..., "I/O error %d". */
    static std::string messageFor(int code);

private:
    IoError(int code, const std::string& message) : Error(message), m_code(code) {}

    int m_code;
};

/** A save refused, with nothing written, because another program changed, replaced or cut one
 * of the pair's files since this program read it or last wrote it. */
class ChangedOnDiskError : public Error {
public:
    explicit ChangedOnDiskError(const std::string& fileName)
        : Error(fileName + " was changed by another program since it was opened; nothing was "
                           "written"),
          m_fileName(fileName) {}
    /** The file's name, without its folder. */
    const std::string& fileName() const { return m_fileName; }

private:
    std::string m_fileName;
};

/** A field text the integer or float conversion refuses. */
class ConversionError : public Error {
public:
    using Error::Error;
};

} // namespace doc
