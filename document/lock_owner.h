#pragma once
// Who holds an advisory lock. The system reports the holder of a classic
// record lock, but not of an open file description lock (its process is given
// as -1); for those the processes' open files are looked through instead.

#include <sys/types.h>

namespace doc {

/** The process holding a lock on the byte at offset of the file open as fd that conflicts with
 * a lock of type (F_RDLCK or F_WRLCK); 0 when none does or the holder cannot be told. Only
 * processes whose open files this process may look at can be named. */
int processHoldingLock(int fd, off_t offset, short type);

} // namespace doc
