#pragma once
// Facts about the running machine for the About box. What only the system can tell is defined in
// a file of its own for each kind of system (system_info_posix.cpp).

#include <QString>

namespace shell {

/** Free physical memory in kilobytes (memory available to new programs); 0 when unknown. */
qint64 availableMemoryKilobytes();
/** Kilobytes with thousands grouped, e.g. "12,345,678 KB". */
QString formatKilobytes(qint64 kilobytes);
/** The operating system's family, e.g. "Linux" or "Windows NT". */
QString platformName();
/** The number of logical processors (at least 1). */
int processorCount();
/** The processor's model name, e.g. "Intel(R) Xeon(R) CPU ...", or its architecture. */
QString processorKind();
/** "Linux, 2 x Intel(R) Xeon(R) ...". */
QString platformAndProcessors();

} // namespace shell
