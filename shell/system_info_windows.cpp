// The About box's machine facts as Windows tells them.
#include "shell/system_info.h"

#include <QSettings>
#include <QSysInfo>

#include <windows.h>

namespace shell {

qint64 availableMemoryKilobytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return ::GlobalMemoryStatusEx(&status) ? static_cast<qint64>(status.ullAvailPhys / 1024) : 0;
}

QString platformName() {
    return QStringLiteral("Windows NT");
}

int processorCount() {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

QString processorKind() {
    // The model name Windows shows in its own system information; the CPU's family otherwise.
    const QSettings processor(
        QStringLiteral("HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"),
        QSettings::NativeFormat);
    QString kind = processor.value(QStringLiteral("ProcessorNameString")).toString().simplified();
    if (kind.isEmpty())
        kind = qEnvironmentVariable("PROCESSOR_IDENTIFIER").simplified();
    return kind.isEmpty() ? QSysInfo::currentCpuArchitecture() : kind;
}

} // namespace shell
