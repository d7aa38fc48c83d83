// Fuzzes the settings file on real files: any bytes in "cvnobj.INI" must read without crashing,
// and a write must store exactly the one value, keep every other value as it read before, be
// stable when repeated, and refuse a text it could not read back, leaving the file as it was.

#include "document/errors.h"
#include "shell/settings_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QTemporaryDir* g_folder = nullptr;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "the settings file is still there");
    return file.readAll();
}

struct Values {
    QString startDir;
    int damageScale;
    int sizeScale;
    bool operator==(const Values&) const = default;
};

Values valuesOf(const shell::SettingsFile& settings) {
    return {settings.readStartDir(QStringLiteral("-")), settings.readDamageScale(),
            settings.readSizeScale()};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    g_folder = new QTemporaryDir(); // lives to the end of the process
    check(g_folder->isValid(), "a private folder for the file");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = g_folder->filePath(QStringLiteral("cvnobj.INI"));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the fuzzer writes the file");
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const shell::SettingsFile settings(path);
    const Values before = valuesOf(settings);
    // Reads of names the file may or may not hold never fail either.
    (void)settings.readText(QStringLiteral("Settings"), QStringLiteral(""), QStringLiteral("d"));
    (void)settings.readInteger(QStringLiteral(""), QStringLiteral("x"), 0);

    const QByteArray original = contentOf(path);
    bool refused = false;
    try {
        settings.writeStartDir(QStringLiteral("/home/fuzz/a\nb/"));
    } catch (const doc::Error&) {
        refused = true;
    }
    check(refused, "a text with a line break is refused");
    check(contentOf(path) == original, "a refused write leaves the file as it was");

    const int percent = before.damageScale == 137 ? 138 : 137;
    settings.writeDamageScale(percent);
    Values expected = before;
    expected.damageScale = percent;
    check(valuesOf(settings) == expected, "a write stores its value and keeps the others");
    const QByteArray once = contentOf(path);
    settings.writeDamageScale(percent);
    check(contentOf(path) == once, "writing the same value again changes nothing");

    const QString folder = QStringLiteral("/home/fuzz/my folder [1]/");
    settings.writeStartDir(folder);
    expected.startDir = folder;
    check(valuesOf(settings) == expected, "a folder with spaces and brackets reads back whole");
    return 0;
}
