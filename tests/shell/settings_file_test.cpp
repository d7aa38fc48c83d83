// The settings file: what a fresh file looks like, the reading rules, and that
// hand-edited files keep everything the program does not own.

#include "document/errors.h"
#include "shell/settings_file.h"
#include "tests/support/settings_line_end.h"
#include "tests/support/test_file_system.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using shell::SettingsFile;

namespace {

const QString kSettings = QStringLiteral("settings");

QByteArray contentOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

/** The message of the doc::Error that call throws, or an empty text. */
template <typename Call> QString errorOf(Call&& call) {
    try {
        call();
    } catch (const doc::Error& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString pathOf(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void firstRunWritesKeysInOrder() {
        const SettingsFile settings(pathOf("first.INI"));
        QCOMPARE(settings.readStartDir(QString()), QString());
        settings.writeStartDir(QStringLiteral("/home/u/data"));
        settings.writeDamageScale(100);
        settings.writeSizeScale(100);
        QCOMPARE(contentOf(settings.path()),
                 QByteArray("[settings]" SETTINGS_EOL "startdir=/home/u/data" SETTINGS_EOL
                            "damscale=100" SETTINGS_EOL "sizescale=100" SETTINGS_EOL));
        QCOMPARE(settings.readStartDir(QStringLiteral("c:\\")), QStringLiteral("/home/u/data"));
        QCOMPARE(settings.readDamageScale(), 100);
        QCOMPARE(settings.readSizeScale(), 100);
    }

    void rewritingKeepsOrderAndReplacesValues() {
        const SettingsFile settings(pathOf("rewrite.INI"));
        settings.writeStartDir(QString());
        settings.writeDamageScale(100);
        settings.writeSizeScale(100);
        settings.writeDamageScale(-250);
        settings.writeStartDir(QStringLiteral("C:\\Games\\"));
        QCOMPARE(contentOf(settings.path()),
                 QByteArray("[settings]" SETTINGS_EOL "startdir=C:\\Games\\" SETTINGS_EOL
                            "damscale=-250" SETTINGS_EOL "sizescale=100" SETTINGS_EOL));
        QCOMPARE(settings.readDamageScale(), -250);
    }

    void missingFileSectionOrKeyGiveDefaults() {
        const SettingsFile none(pathOf("absent.INI"));
        QCOMPARE(none.readStartDir(QStringLiteral("c:\\")), QStringLiteral("c:\\"));
        QCOMPARE(none.readDamageScale(), 100);
        QCOMPARE(none.readInteger(kSettings, QStringLiteral("x"), 7), 7);
        QVERIFY(!QFile::exists(none.path())); // reading never creates the file

        writeFile(pathOf("other.INI"), "[other]\nstartdir=/x\ndamscale=5\n");
        const SettingsFile other(pathOf("other.INI"));
        QCOMPARE(other.readStartDir(QStringLiteral("dflt")), QStringLiteral("dflt"));
        QCOMPARE(other.readSizeScale(), 100);
    }

    void namesAreCaseInsensitive() {
        writeFile(pathOf("case.INI"), "[SETTINGS]\nStartDir=/games\nDAMSCALE=250\n");
        const SettingsFile settings(pathOf("case.INI"));
        QCOMPARE(settings.readStartDir(QString()), QStringLiteral("/games"));
        QCOMPARE(settings.readDamageScale(), 250);
        settings.writeDamageScale(5);
        QCOMPARE(contentOf(settings.path()),
                 QByteArray("[SETTINGS]\nStartDir=/games\nDAMSCALE=5\n"));
    }

    void emptyValueIsNotTheDefault() {
        writeFile(pathOf("empty.INI"), "[settings]\nstartdir=\n");
        const SettingsFile settings(pathOf("empty.INI"));
        QCOMPARE(settings.readStartDir(QStringLiteral("c:\\")), QString());
        // An empty integer is invalid and so reads as the default.
        writeFile(pathOf("empty.INI"), "[settings]\ndamscale=\n");
        QCOMPARE(settings.readDamageScale(), 100);
    }

    void integerForms_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("250") << 250;
        QTest::newRow("plus sign") << QByteArray("+42") << 42;
        QTest::newRow("negative") << QByteArray("-5") << -5;
        QTest::newRow("hex lower") << QByteArray("0x64") << 100;
        QTest::newRow("hex upper") << QByteArray("0X1F4") << 500;
        QTest::newRow("hex full pattern") << QByteArray("0xFFFFFFFF") << -1;
        QTest::newRow("hex too wide") << QByteArray("0x100000000") << 100;
        QTest::newRow("hex prefix only") << QByteArray("0x") << 100;
        QTest::newRow("hex bad digit") << QByteArray("0x6G") << 100;
        QTest::newRow("letters") << QByteArray("abc") << 100;
        QTest::newRow("trailing junk") << QByteArray("12a") << 100;
        QTest::newRow("sign only") << QByteArray("-") << 100;
        QTest::newRow("int max") << QByteArray("2147483647") << 2147483647;
        QTest::newRow("int min") << QByteArray("-2147483648") << -2147483647 - 1;
        QTest::newRow("overflow") << QByteArray("2147483648") << 100;
        QTest::newRow("blanks trimmed") << QByteArray("  77  ") << 77;
    }
    void integerForms() {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        writeFile(pathOf("int.INI"), "[settings]\nsizescale=" + stored + "\n");
        QCOMPARE(SettingsFile(pathOf("int.INI")).readSizeScale(), expected);
    }

    void textsAreCutAndReadBackAsWritten() {
        const SettingsFile settings(pathOf("text.INI"));
        const QString longText(3000, u'a');
        settings.writeText(kSettings, QStringLiteral("long"), longText);
        QCOMPARE(settings.readText(kSettings, QStringLiteral("long"), QString()),
                 longText.left(SettingsFile::maxTextLength));

        for (const QString& text :
             {QStringLiteral(" padded "), QStringLiteral("\"quoted\""), QStringLiteral("'single'"),
              QStringLiteral("a=b;c"), QStringLiteral("Ünïcödé/Spiele")}) {
            settings.writeText(kSettings, QStringLiteral("t"), text);
            QCOMPARE(settings.readText(kSettings, QStringLiteral("t"), QString()), text);
        }
        // Hand-written quotes are taken off.
        writeFile(pathOf("quoted.INI"), "[settings]\nstartdir = \"/a b/\" \n");
        QCOMPARE(SettingsFile(pathOf("quoted.INI")).readStartDir(QString()),
                 QStringLiteral("/a b/"));
    }

    void handEditedFileKeepsOtherLines() {
        writeFile(pathOf("hand.INI"), "; my notes\r\n[window]\r\nleft=10\r\n\r\n"
                                      "[settings]\r\ndamscale=250\r\njunk line\r\n\r\n"
                                      "[last]\r\nx=1\r\n");
        const SettingsFile settings(pathOf("hand.INI"));
        settings.writeStartDir(QStringLiteral("/data/"));
        settings.writeDamageScale(300);
        settings.writeText(QStringLiteral("new"), QStringLiteral("k"), QStringLiteral("v"));
        QCOMPARE(contentOf(settings.path()),
                 QByteArray("; my notes\r\n[window]\r\nleft=10\r\n\r\n"
                            "[settings]\r\ndamscale=300\r\njunk line\r\nstartdir=/data/\r\n\r\n"
                            "[last]\r\nx=1\r\n[new]\r\nk=v\r\n"));
        QCOMPARE(settings.readInteger(QStringLiteral("window"), QStringLiteral("left"), 0), 10);
        QCOMPARE(settings.readStartDir(QString()), QStringLiteral("/data/"));
    }

    void mixedLineEndsKeptAndASecondWriteChangesNothing() {
        // Found by fuzzing: a stray carriage return before the file's end once made the next
        // write switch every line to "\r\n".
        struct Row {
            const char* before;
            const char* after;
        };
        for (const Row& row :
             {Row{"[]g]g\r\r", "[]g]g\r\r\n[settings]" SETTINGS_EOL "damscale=137" SETTINGS_EOL},
              Row{"a=1\r\n[settings]\ndamscale=5\n", "a=1\r\n[settings]\ndamscale=137\n"},
              Row{"[settings]\r\nx=1\nb", "[settings]\r\nx=1\nb\ndamscale=137\r\n"}}) {
            writeFile(pathOf("mixed.INI"), row.before);
            const SettingsFile settings(pathOf("mixed.INI"));
            settings.writeDamageScale(137);
            QCOMPARE(contentOf(settings.path()), QByteArray(row.after));
            settings.writeDamageScale(137);
            QCOMPARE(contentOf(settings.path()), QByteArray(row.after));
        }
    }

    void legacyEncodedLinesSurviveAWrite() {
        writeFile(pathOf("legacy.INI"), "[other]\nname=Gr\xfc\xdf"
                                        "e\n[settings]\nstartdir=/x\n");
        const SettingsFile settings(pathOf("legacy.INI"));
        settings.writeStartDir(QStringLiteral("/Spiele/Größe"));
        QCOMPARE(contentOf(settings.path()),
                 QByteArray("[other]\nname=Gr\xfc\xdf"
                            "e\n[settings]\nstartdir=/Spiele/Gr\xc3\xb6\xc3\x9f"
                            "e\n"));
        QCOMPARE(settings.readText(QStringLiteral("other"), QStringLiteral("name"), QString()),
                 QStringLiteral("Grüße"));
        QCOMPARE(settings.readStartDir(QString()), QStringLiteral("/Spiele/Größe"));
    }

    void everyAccessSeesTheFileOfThatMoment() {
        const SettingsFile settings(pathOf("live.INI"));
        settings.writeSizeScale(40);
        writeFile(settings.path(), "[settings]\nsizescale=60\n");
        QCOMPARE(settings.readSizeScale(), 60);
        QVERIFY(QFile::remove(settings.path()));
        QCOMPARE(settings.readSizeScale(), 100);
        settings.writeSizeScale(70);
        QCOMPARE(contentOf(settings.path()), QByteArray("[settings]" SETTINGS_EOL "sizescale=70" SETTINGS_EOL));
    }

    void failingWriteNamesTheFullPath() {
        // Running as root defeats permission bits; a path below a regular file
        // cannot be created by anyone.
        writeFile(pathOf("plainfile"), "x");
        const QString path = pathOf("plainfile") + QStringLiteral("/cvnobj.INI");
        const SettingsFile settings(path);
        try {
            settings.writeDamageScale(100);
            QFAIL("the write should have failed");
        } catch (const doc::Error& error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Unable to write to ") + path);
        }
        QCOMPARE(settings.readDamageScale(), 100);
    }

    void aFullDiskLeavesThePreviousFileWhole() {
        const QByteArray before(
            "; mine\n[settings]\nstartdir=/games/\ndamscale=250\nsizescale=40\n");
        writeFile(pathOf("full.INI"), before);
        testsupport::TestFileSystem files;
        const SettingsFile settings(pathOf("full.INI"), files);
        for (const std::int64_t room : {0, 10, 40}) {
            files.limitWrites(room);
            QCOMPARE(errorOf([&] { settings.writeStartDir(QStringLiteral("/elsewhere/")); }),
                     QStringLiteral("Unable to write to ") + settings.path());
            QCOMPARE(contentOf(settings.path()), before);
            QCOMPARE(QDir(m_dir.path())
                         .entryList({QStringLiteral(".full*")}, QDir::Files | QDir::Hidden),
                     QStringList());
        }
        // Once there is room again the value is written and nothing else changes.
        files.limitWrites(1 << 20);
        settings.writeStartDir(QStringLiteral("/elsewhere/"));
        QCOMPARE(
            contentOf(settings.path()),
            QByteArray("; mine\n[settings]\nstartdir=/elsewhere/\ndamscale=250\nsizescale=40\n"));
    }

    void aLineBreakIsRefused() {
        const SettingsFile settings(pathOf("break.INI"));
        settings.writeStartDir(QStringLiteral("/games/"));
        const QByteArray before = contentOf(settings.path());
        for (const QString& text :
             {QStringLiteral("/a\nsizescale=5"), QStringLiteral("/a\r/b"), QStringLiteral("\n")}) {
            QCOMPARE(errorOf([&] { settings.writeStartDir(text); }),
                     QStringLiteral("Unable to write to ") + settings.path());
            QCOMPARE(contentOf(settings.path()), before);
        }
        // A character UTF-8 cannot carry would not read back either.
        QCOMPARE(errorOf([&] { settings.writeStartDir(QString(QChar(0xD800))); }),
                 QStringLiteral("Unable to write to ") + settings.path());
        QCOMPARE(settings.readStartDir(QString()), QStringLiteral("/games/"));
    }

    void onlyARegularFileIsReadOrReplaced() {
        QStringList paths{pathOf("folder.INI")};
        QVERIFY(QDir().mkpath(paths.front()));
#ifndef Q_OS_WIN // Windows has no FIFOs
        paths << pathOf("fifo.INI");
        QCOMPARE(::mkfifo(paths.back().toUtf8().constData(), 0666), 0);
#endif
        for (const QString& path : paths) {
            const SettingsFile settings(path);
            QCOMPARE(settings.readDamageScale(), 100); // a FIFO would block a read for ever
            QCOMPARE(errorOf([&] { settings.writeDamageScale(5); }),
                     QStringLiteral("Unable to write to ") + path);
            QVERIFY(!QFileInfo(path).isFile());
        }
    }

#ifndef Q_OS_WIN // Windows keeps it in the user's application data (windows_shell_test)
    void defaultPathFollowsTheConfigFolder() {
        const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
        const QByteArray savedHome = qgetenv("HOME");
        const QString config = m_dir.filePath(QStringLiteral("config/deeper"));
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        QCOMPARE(SettingsFile::defaultPath(), config + QStringLiteral("/cvnobj.INI"));
        QVERIFY(QDir(config).exists());

        const QString home = m_dir.filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(home));
        qputenv("HOME", home.toUtf8());
        for (bool unset : {true, false}) {
            if (unset)
                qunsetenv("XDG_CONFIG_HOME");
            else
                qputenv("XDG_CONFIG_HOME", QByteArray());
            QCOMPARE(SettingsFile::defaultPath(), home + QStringLiteral("/.config/cvnobj.INI"));
            QVERIFY(QDir(home + QStringLiteral("/.config")).exists());
            QVERIFY(QDir(home + QStringLiteral("/.config")).removeRecursively());
        }
        qputenv("XDG_CONFIG_HOME", savedConfig);
        qputenv("HOME", savedHome);
    }
#endif
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "settings_file_test.moc"
