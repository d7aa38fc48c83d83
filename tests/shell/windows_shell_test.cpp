// The program's own files on Windows: in the user's application data, read once from where they
// were kept before; recent documents go to Windows' own list.

#include "shell/notes_file.h"
#include "shell/settings_file.h"
#include "shell/windows_shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <windows.h>

class WindowsShellTest : public QObject {
    Q_OBJECT

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void firstRunReadsTheOldPlaceOnce() {
        QTemporaryDir before;
        // A name of this run's own, so that no real settings or notes are touched.
        const QString name =
            QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".INI");
        write(before.filePath(name), "[Objects]\r\nDamage=150\r\n");
        const QString path = shell::windowsUserFile(name, QDir::toNativeSeparators(before.path()));
        QVERIFY(path.endsWith(QStringLiteral("/cvnobj/") + name));
        QVERIFY(path.startsWith(QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"))));
        QCOMPARE(read(path), QByteArray("[Objects]\r\nDamage=150\r\n"));

        // Once there, the user's file is kept, whatever the old place holds later.
        write(path, "[Objects]\r\nDamage=200\r\n");
        write(before.filePath(name), "[Objects]\r\nDamage=10\r\n");
        QCOMPARE(shell::windowsUserFile(name, before.path()), path);
        QCOMPARE(read(path), QByteArray("[Objects]\r\nDamage=200\r\n"));
        QVERIFY(QFile::remove(path));

        // Nothing at the old place: no file is made.
        QVERIFY(QFile::remove(before.filePath(name)));
        QVERIFY(!QFile::exists(shell::windowsUserFile(name, before.path())));
    }

    void theProgramsFilesLiveInApplicationData() {
        const QString folder = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA")) +
                               QStringLiteral("/cvnobj/");
        QCOMPARE(shell::SettingsFile::defaultPath(), folder + QStringLiteral("cvnobj.INI"));
        QCOMPARE(shell::NotesFile::defaultPath(), folder + QStringLiteral("objinfo.txt"));
        QVERIFY(QDir(folder).exists());
    }

    void settingsStayReadableByTheProfileFunctions() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("cvnobj.INI"));
        const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
        QVERIFY(::WritePrivateProfileStringW(L"Objects", L"Damage", L"150", wide.c_str()));
        shell::SettingsFile settings(path);
        QCOMPARE(settings.readText(QStringLiteral("Objects"), QStringLiteral("Damage"), {}),
                 QStringLiteral("150"));
        settings.writeText(QStringLiteral("Objects"), QStringLiteral("Size"), QStringLiteral("80"));
        char size[16] = {};
        ::GetPrivateProfileStringA("Objects", "Size", "", size, sizeof size,
                                   QDir::toNativeSeparators(path).toLocal8Bit().constData());
        QCOMPARE(QByteArray(size), QByteArray("80"));
    }
};

QTEST_GUILESS_MAIN(WindowsShellTest)
#include "windows_shell_test.moc"
