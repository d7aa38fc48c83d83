// The notes window through its real menu and the editor window's "Notes", with the notes file in
// a temporary data folder and the font dialog and questions answered by a script.

#include "shell/application.h"
#include "tests/support/data_files.h"
#include "tests/support/reported_errors.h"
#include "tests/support/scoped_dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/artwork/fonts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>

#include <csignal>
#include <memory>
#include <optional>
#include <sys/resource.h>

using Font = ui::Dialogs::FontChoice;

namespace {

// Limits the size of the files this process writes, so a save runs out of room part-way as on a
// full disk (a write past the limit fails with EFBIG).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_previous); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
};

} // namespace

class NotesWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempFolder> m_folder;
    std::unique_ptr<ui::ScriptedDialogs> m_dialogs;
    std::unique_ptr<ui::ScopedDialogs> m_installed;
    std::unique_ptr<testsupport::ReportedErrors> m_errors;
    std::unique_ptr<shell::Windows> m_windows;
    int m_endings = 0;

    QString dataHome() const {
        return QString::fromStdString(m_folder->path()) + QStringLiteral("/data");
    }
    QString notesPath() const { return dataHome() + QStringLiteral("/cvnobj/objinfo.txt"); }
    shell::TForm4& notes() { return m_windows->form4; }
    QTextEdit& text() { return *m_windows->form4.RichEdit1; }

    /** The windows of a run whose data folder is dataHome, started up to the editor window. */
    void start() {
        m_windows = std::make_unique<shell::Windows>();
        m_windows->form3.setEndProgram([this] { ++m_endings; });
        m_windows->form6.show();
    }
    void chooseNotes() { m_windows->form6.Notes1->trigger(); }
    void writeNotes(const QByteArray& bytes) {
        QDir().mkpath(dataHome() + QStringLiteral("/cvnobj"));
        QFile file(notesPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray storedNotes() const {
        QFile file(notesPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init() {
        m_folder = std::make_unique<testsupport::TempFolder>();
        qputenv("XDG_DATA_HOME", dataHome().toUtf8());
        m_dialogs = std::make_unique<ui::ScriptedDialogs>();
        m_installed = std::make_unique<ui::ScopedDialogs>(*m_dialogs);
        m_errors = std::make_unique<testsupport::ReportedErrors>();
        m_endings = 0;
        start();
    }
    void cleanup() {
        m_windows.reset();
        m_errors.reset();
        m_installed.reset();
        m_dialogs.reset();
        m_folder.reset();
    }

    void notesLiveInTheUsersDataFolder() {
        QCOMPARE(notes().notesFile().path(), notesPath());
        qputenv("XDG_DATA_HOME", QByteArray());
        QCOMPARE(shell::NotesFile::defaultPath(),
                 QDir::homePath() + QStringLiteral("/.local/share/cvnobj/objinfo.txt"));
    }

    void withoutAFileTypedTextStays() {
        chooseNotes();
        QVERIFY(notes().isVisible());
        QVERIFY(text().toPlainText().isEmpty());
        QTest::keyClicks(&text(), QStringLiteral("typed"));
        notes().close();
        QVERIFY(!notes().isVisible());
        chooseNotes();
        QVERIFY(notes().isVisible());
        QCOMPARE(text().toPlainText(), QStringLiteral("typed"));
    }

    void saveWritesRichTextThatLoadsBack() {
        chooseNotes();
        text().setPlainText(QStringLiteral("Grüße ☃\nשלום bold"));
        QTextCursor cursor(text().document());
        cursor.movePosition(QTextCursor::End);
        cursor.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.mergeCharFormat(bold);
        notes().Save1->trigger();
        QVERIFY(m_errors->messages().isEmpty());
        QVERIFY(storedNotes().startsWith("{\\rtf1\\ansi\\ansicpg1252"));
        QVERIFY(!notes().hasUnsavedNotes());

        text().setPlainText(QStringLiteral("replaced"));
        text().document()->setModified(false);
        chooseNotes(); // nothing unsaved: the file is read again
        QCOMPARE(text().toPlainText(), QStringLiteral("Grüße ☃\nשלום bold"));
        QTextCursor last(text().document()->lastBlock());
        last.movePosition(QTextCursor::EndOfBlock);
        QCOMPARE(last.charFormat().fontWeight(), int(QFont::Bold));
        QVERIFY(!notes().hasUnsavedNotes());
    }

    void plainTextShowsAsItIsAndSavesAsRichText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("Grüße\nzweite {Zeile}\\")
                               << QStringLiteral("Grüße\nzweite {Zeile}\\");
        QTest::newRow("Windows-1252") << QByteArray("Gr\xfc\xdf"
                                                    "e \x80")
                                      << QStringLiteral("Grüße €");
    }
    void plainTextShowsAsItIsAndSavesAsRichText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        writeNotes(bytes);
        chooseNotes();
        QCOMPARE(text().toPlainText(), shown);
        notes().Save1->trigger();
        QVERIFY(storedNotes().startsWith("{\\rtf1"));
        text().clear();
        text().document()->setModified(false);
        chooseNotes();
        QCOMPARE(text().toPlainText(), shown);
    }

    void unsavedNotesAreNotReplacedByTheFile() {
        writeNotes("stored");
        chooseNotes();
        QTest::keyClicks(&text(), QStringLiteral("more "));
        notes().close();
        chooseNotes();
        QCOMPARE(text().toPlainText(), QStringLiteral("storedmore "));
        QCOMPARE(storedNotes(), QByteArray("stored"));
    }

    void failuresAreReportedAndChangeNothing() {
        // A folder where the notes file belongs: it can be neither read nor replaced.
        QVERIFY(QDir().mkpath(notesPath()));
        chooseNotes();
        QCOMPARE(m_errors->messages(),
                 QStringList{QStringLiteral("Cannot open file ") + notesPath()});
        QVERIFY(!notes().isVisible());

        notes().show();
        QTest::keyClicks(&text(), QStringLiteral("kept"));
        notes().Save1->trigger();
        QCOMPARE(m_errors->last(), QStringLiteral("Cannot create file ") + notesPath());
        QVERIFY(QFileInfo(notesPath()).isDir());
        QCOMPARE(QDir(dataHome() + QStringLiteral("/cvnobj"))
                     .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                 QStringList{QStringLiteral("objinfo.txt")}); // no temporary file left behind
        QVERIFY(notes().hasUnsavedNotes());
        QCOMPARE(text().toPlainText(), QStringLiteral("kept"));

        // A full disk part-way through the save: the old notes stay whole.
        QVERIFY(QDir(notesPath()).removeRecursively());
        writeNotes("old notes");
        {
            std::optional<FileSizeLimit> full;
            full.emplace(16);
            notes().Save1->trigger();
        }
        QCOMPARE(m_errors->last(), QStringLiteral("Failed to Save Stream"));
        QCOMPARE(storedNotes(), QByteArray("old notes"));
        QVERIFY(notes().hasUnsavedNotes());

        // A data folder that cannot be made: the file named is still the notes file.
        testsupport::writeFile(m_folder->file("file"), {1});
        qputenv("XDG_DATA_HOME", QByteArray(m_folder->file("file").c_str()));
        m_windows.reset();
        start();
        const QString blocked =
            QString::fromStdString(m_folder->file("file")) + QStringLiteral("/cvnobj/objinfo.txt");
        notes().Save1->trigger();
        QCOMPARE(m_errors->last(), QStringLiteral("Cannot create file ") + blocked);
    }

    void applyThenCancelKeepsTheAppliedFont() {
        writeNotes("some notes");
        chooseNotes();
        QFont serif(QStringLiteral("DejaVu Serif"));
        serif.setPointSize(20);
        serif.setItalic(true);
        const Font applied{serif, QColor(Qt::darkGreen)};
        m_dialogs->queueFont({applied}, std::nullopt);
        notes().Font1->trigger();
        QTextCursor cursor(text().document());
        cursor.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(cursor.charFormat().font().family(), serif.family());
        QCOMPARE(cursor.charFormat().font().pointSize(), 20);
        QVERIFY(cursor.charFormat().font().italic());
        QCOMPARE(cursor.charFormat().foreground().color(), QColor(Qt::darkGreen));

        QFont bold = serif;
        bold.setBold(true);
        m_dialogs->queueFont({}, Font{bold, QColor(Qt::red)});
        notes().Font1->trigger();
        const QList<Font> starts = m_dialogs->fontDialogStarts();
        QCOMPARE(starts.size(), 2);
        QCOMPARE(starts[0], (Font{ui::fonts::msSansSerif(11), QColor(Qt::black)}));
        QCOMPARE(starts[1], applied);
        QVERIFY(text().currentCharFormat().font().bold());
        QCOMPARE(text().currentCharFormat().foreground().color(), QColor(Qt::red));
        cursor.movePosition(QTextCursor::End);
        QVERIFY(cursor.charFormat().font().bold());
    }

    void exitAsksAboutUnsavedNotes_data() {
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("endings");
        QTest::newRow("nothing typed") << false << -1 << false << QByteArray("old") << 1;
        QTest::newRow("Yes saves")
            << true << int(ui::Dialogs::Answer::Yes) << false << QByteArray("{\\rtf1") << 1;
        QTest::newRow("No drops") << true << int(ui::Dialogs::Answer::No) << false
                                  << QByteArray("old") << 1;
        QTest::newRow("a failed save keeps running")
            << true << int(ui::Dialogs::Answer::Yes) << true << QByteArray() << 0;
    }
    void exitAsksAboutUnsavedNotes() {
        QFETCH(bool, typed);
        QFETCH(int, answer);
        QFETCH(bool, blocked);
        QFETCH(QByteArray, stored);
        QFETCH(int, endings);
        writeNotes("old");
        chooseNotes();
        if (typed)
            QTest::keyClicks(&text(), QStringLiteral("new "));
        if (blocked)
            QVERIFY(QFile::remove(notesPath()) && QDir().mkpath(notesPath()));
        if (answer >= 0)
            m_dialogs->queueAnswer(ui::Dialogs::Answer(answer));
        m_windows->form6.close();
        QCOMPARE(m_dialogs->texts(ui::ScriptedDialogs::Kind::Confirm),
                 answer >= 0 ? QStringList{QStringLiteral("Do you wish to save the notes?")}
                             : QStringList());
        QVERIFY(storedNotes().startsWith(stored));
        QCOMPARE(m_endings, endings);
        QCOMPARE(m_errors->count(), blocked ? 1 : 0);
    }
};

QTEST_MAIN(NotesWindowTest)
#include "notes_window_test.moc"
