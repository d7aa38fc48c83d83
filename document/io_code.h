#pragma once
// The I/O codes of the message table. A failing system call whose condition
// has no code here keeps its own error number ("I/O error <number>").

namespace doc {

enum class IoCode : int {
    FileNotFound = 2,
    InvalidFilename = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    ReadBeyondEnd = 100,
    DiskFull = 101,
    NotOpen = 103,
    InvalidNumericInput = 106,
};

} // namespace doc
