// The About box's facts about the machine on POSIX systems: /proc on Linux, sysconf elsewhere.

#include "shell/system_info.h"

#include <QFile>
#include <QSysInfo>

#include <thread>

#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/sysinfo.h>
#endif

namespace shell {

namespace {

#ifdef Q_OS_LINUX
// The value of one "Name: value" line of a /proc file, or the empty text.
QString procField(const QString& fileName, const QString& name) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // /proc files report size 0, so atEnd() is true at once; read to the end instead.
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0 && line.left(colon).trimmed() == name)
            return line.mid(colon + 1).trimmed();
    }
    return QString();
}
#endif

} // namespace

qint64 availableMemoryKilobytes() {
#ifdef Q_OS_LINUX
    // "MemAvailable: 12345678 kB" counts reclaimable caches, which is what a new
    // program can actually get; sysinfo's freeram does not.
    const QString available =
        procField(QStringLiteral("/proc/meminfo"), QStringLiteral("MemAvailable"));
    bool ok = false;
    const qint64 kilobytes = available.section(u' ', 0, 0).toLongLong(&ok);
    if (ok && kilobytes > 0)
        return kilobytes;
    struct sysinfo info {};
    if (sysinfo(&info) == 0)
        return static_cast<qint64>(info.freeram) * info.mem_unit / 1024;
    return 0;
#else
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? static_cast<qint64>(pages) * pageSize / 1024 : 0;
#endif
}

QString platformName() {
#if defined(Q_OS_LINUX)
    return QStringLiteral("Linux");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("macOS");
#else
    return QSysInfo::kernelType();
#endif
}

int processorCount() {
    const unsigned threads = std::thread::hardware_concurrency();
    if (threads > 0)
        return static_cast<int>(threads);
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

QString processorKind() {
    QString kind;
#ifdef Q_OS_LINUX
    kind = procField(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    if (kind.isEmpty()) // some ARM kernels name the board instead
        kind = procField(QStringLiteral("/proc/cpuinfo"), QStringLiteral("Hardware"));
#endif
    kind = kind.simplified();
    return kind.isEmpty() ? QSysInfo::currentCpuArchitecture() : kind;
}

} // namespace shell
