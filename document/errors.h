#pragma once
// The typed errors of the document layer. Each carries the exact text the
// application-wide handler shows; nothing above this layer builds error texts.

#include <stdexcept>
#include <string>

namespace doc {

/** Any failure of a command that is reported to the user with its message. */
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

/** A failing file operation; code is the I/O code (2, 3, 4, 5, 100, 101, 103, or the system's
 * errno). */
class IoError : public Error {
public:
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

/** A field text the integer or float conversion refuses. */
class ConversionError : public Error {
public:
    using Error::Error;
};

} // namespace doc
