// The windows wired together as at start-up, driven through their real
// controls, with dialogs answered by a script and files checked on disk.

#include "document/file_layout.h"
#include "shell/application.h"
#include "shell/recent_files.h"
#include "shell/settings_file.h"
#include "tests/support/bookmark_list.h"
#include "tests/support/data_files.h"
#include "tests/support/scoped_dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_file_system.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/percent_spin_box.h"
#include "ui/controls/record_list.h"

#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>

#include <cerrno>
#include <filesystem>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>

#include <shlobj.h>
#endif

using testsupport::Bytes;
using Kind = ui::ScriptedDialogs::Kind;

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QString settingsPath() {
    return shell::SettingsFile::defaultPath();
}

QByteArray settingsBytes() {
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

#ifdef Q_OS_WIN
/** The links to files of that name in Windows' list of recent documents, the user's Recent
 * folder. */
QStringList recentLinks(const QString& fileName) {
    wchar_t* folder = nullptr;
    QString path;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Recent, 0, nullptr, &folder)))
        path = QString::fromWCharArray(folder);
    ::CoTaskMemFree(folder);
    // Listed as plain files: Qt would take a shortcut for a link to its target.
    QStringList links;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path.toStdWString(), error)) {
        const QString name = QString::fromStdWString(entry.path().filename().wstring());
        if (name.startsWith(fileName) && name.endsWith(QStringLiteral(".lnk")))
            links << QString::fromStdWString(entry.path().wstring());
    }
    return links;
}
#endif

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempFolder> m_folder;
    std::unique_ptr<testsupport::TestFileSystem> m_files;
    std::unique_ptr<ui::ScriptedDialogs> m_dialogs;
    std::unique_ptr<ui::ScopedDialogs> m_installed;
    std::unique_ptr<shell::Windows> m_windows;
    int m_endings = 0;

    std::string writeDataFile(const std::string& name, int count) {
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(count);
        file.tail = {1, 2, 3};
        const std::string path = m_folder->file(name);
        file.write(path);
        return path;
    }

    /** Start-up, the start window's button, then "Open" answered with path. */
    void startAndOpen(const std::string& path) {
        QTest::mouseClick(m_windows->form1.Button5, Qt::LeftButton);
        m_dialogs->queueFolder(qs(m_folder->path()));
        m_dialogs->queueOpenFile(qs(path));
        m_windows->form6.Open1->trigger();
        QApplication::setActiveWindow(&m_windows->form6);
        QVERIFY(QTest::qWaitForWindowActive(&m_windows->form6));
    }

    editor::TForm6& form6() { return m_windows->form6; }

    /** Drops urls onto the control as a file manager does (with the paths as text too), then
     * lets the open that the drop starts run. */
    static void drop(const QList<QUrl>& urls, QWidget* onto) {
        QMimeData data;
        data.setUrls(urls);
        data.setText(urls.isEmpty() ? QString() : urls.first().toString());
        const QPointF at = QRectF(onto->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto, &dropped);
        QVERIFY(dropped.isAccepted());
        QCoreApplication::processEvents();
    }
    /** A field's edit, where a drop lands more often than anywhere else. */
    QWidget* dropTarget() { return form6().LMDSE1->findChild<QLineEdit*>(); }

    /** Start-up with FILE on the command line, in place of the plain start-up of init(). */
    void startWithFile(const std::string& path) {
        m_windows = std::make_unique<shell::Windows>(*m_files);
        m_windows->form3.setEndProgram([this] { ++m_endings; });
        m_windows->showWithFile(qs(path));
    }

private slots:
    void init() {
        m_folder = std::make_unique<testsupport::TempFolder>();
        QFile::remove(settingsPath());
        QFile::remove(shell::RecentFiles::defaultPath());
        m_files = std::make_unique<testsupport::TestFileSystem>();
        m_dialogs = std::make_unique<ui::ScriptedDialogs>();
        m_installed = std::make_unique<ui::ScopedDialogs>(*m_dialogs);
        shell::initialiseApplication();
        m_windows = std::make_unique<shell::Windows>(*m_files);
        m_endings = 0;
        m_windows->form3.setEndProgram([this] { ++m_endings; });
        m_windows->show();
    }

    void cleanup() {
        m_windows.reset();
        m_installed.reset();
        m_dialogs.reset();
        m_files.reset();
        m_folder.reset();
    }

    void startUpShowsOnlyTheStartWindow() {
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Corvane OBJDAT File Editor"));
        QVERIFY(m_windows->form1.isVisible());
        QVERIFY(!m_windows->form3.isVisible());
        QVERIFY(!m_windows->form4.isVisible());
        QVERIFY(!form6().isVisible());
        QVERIFY(!QFile::exists(settingsPath())); // start-up reads no file

        QTest::mouseClick(m_windows->form1.Button5, Qt::LeftButton);
        QVERIFY(!m_windows->form1.isVisible());
        QVERIFY(form6().isVisible());
        QVERIFY(form6().LMDLabelFill1->isVisible());
        QVERIFY(!form6().LMDLB1->isVisible());
        QVERIFY(!form6().Save1->isEnabled());
        QCOMPARE(form6().windowTitle(), QStringLiteral("Corvane Object Data Editor"));
    }

    void closingTheStartWindowEndsTheProgram() {
        // Run the real event loop: it must end by itself once the start window is closed.
        QTimer::singleShot(0, &m_windows->form1, [this] { m_windows->form1.close(); });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        giveUp.start(5000);
        QCOMPARE(QApplication::exec(), 0);
    }

    void firstOpenAsksForTheFolderAndLoadsTheFile() {
        const std::string path = writeDataFile("OBJDAT.dat", 5);
        startAndOpen(path);

        QCOMPARE(m_dialogs->folderPrompts(),
                 QStringList{QStringLiteral("Select OBJDAT File Directory")});
        QCOMPARE(m_dialogs->openRequests().size(), 1);
        const auto& request = m_dialogs->openRequests().first();
        QCOMPARE(request.startFolder, qs(m_folder->path()));
        QCOMPARE(request.filter, QStringLiteral("OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*"));
        QCOMPARE(request.defaultExtension, QStringLiteral("dat"));
        QVERIFY(m_dialogs->texts(Kind::Error).isEmpty());

        // The working layout, the list and the caption.
        QVERIFY(!form6().LMDLabelFill1->isVisible());
        QVERIFY(form6().LMDLB1->isVisible());
        QVERIFY(form6().LMDButton5->isVisible() && !form6().LMDButton5->isEnabled());
        QVERIFY(!form6().LMDButton1->isVisible());
        QCOMPARE(form6().LMDLB1->rowCount(), 5);
        QCOMPARE(form6().LMDLB1->selectedIndex(), -1);
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(path));
        QVERIFY(!form6().Save1->isEnabled());
        // The names file was made with the created slots.
        QCOMPARE(form6().LMDLB1->rowText(4).section(u';', 3), QStringLiteral("No Name Entered"));

        // The settings file: prompt folder, both percentages, then the chosen file's folder.
        const QByteArray ini = settingsBytes();
        const QString folder = qs(m_folder->path()) + u'/';
        QVERIFY2(ini.contains((QStringLiteral("startdir=") + folder).toUtf8()), ini.constData());
        QVERIFY(ini.indexOf("startdir") < ini.indexOf("damscale"));
        QVERIFY(ini.indexOf("damscale=100") < ini.indexOf("sizescale=100"));
        QCOMPARE(form6().LMDSE1->value(), 100);
        QCOMPARE(form6().LMDSE2->value(), 100);

        // The next open starts in that folder and asks for no folder.
        m_dialogs->queueOpenFile(QString());
        form6().Open1->trigger();
        QCOMPARE(m_dialogs->folderPrompts().size(), 1);
        QCOMPARE(m_dialogs->openRequests().last().startFolder, folder);
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(path));
    }

    void cancelledFirstOpenShowsTheEmptyTable() {
        QTest::mouseClick(m_windows->form1.Button5, Qt::LeftButton);
        m_dialogs->queueFolder(QString());
        m_dialogs->queueOpenFile(QString());
        form6().Open1->trigger();

        QVERIFY(m_dialogs->texts(Kind::Error).isEmpty());
        QVERIFY(form6().LMDLB1->isVisible());
        QCOMPARE(form6().LMDLB1->rowCount(), 1);
        QCOMPARE(form6().LMDLB1->rowText(0), QStringLiteral("0;0;0;"));
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing "));
        QVERIFY(settingsBytes().contains("startdir="));
        // The empty start folder asks again next time.
        m_dialogs->queueOpenFile(QString());
        form6().Open1->trigger();
        QCOMPARE(m_dialogs->folderPrompts().size(), 2);
    }

    void storedPercentagesAreShownClamped() {
        shell::SettingsFile settings;
        settings.writeStartDir(qs(m_folder->path()));
        settings.writeDamageScale(250);
        settings.writeSizeScale(5);
        QTest::mouseClick(m_windows->form1.Button5, Qt::LeftButton);
        m_dialogs->queueOpenFile(QString());
        form6().Open1->trigger();
        QVERIFY(m_dialogs->folderPrompts().isEmpty());
        QCOMPARE(form6().LMDSE2->text(), QStringLiteral("250"));
        QCOMPARE(form6().LMDSE1->text(), QStringLiteral("10"));
        // Showing them clamped does not change what is stored.
        QCOMPARE(settings.readSizeScale(), 5);
    }

    void aFailingOpenLeavesTheEditorAsItWas() {
        const std::string first = writeDataFile("OBJDAT.dat", 3);
        const std::string locked = writeDataFile("objlocked.dat", 7);
        m_files->refuseOpen(locked, EACCES);

        // As the first open: the initial layout and caption stay.
        startAndOpen(locked);
        QCOMPARE(m_dialogs->texts(Kind::Error), QStringList{QStringLiteral("File access denied.")});
        QVERIFY(form6().LMDLabelFill1->isVisible());
        QVERIFY(!form6().LMDLB1->isVisible());
        QCOMPARE(form6().windowTitle(), QStringLiteral("Corvane Object Data Editor"));

        m_dialogs->queueOpenFile(qs(first));
        form6().Open1->trigger();
        QCOMPARE(form6().LMDLB1->rowCount(), 3);

        // With a document open: it stays open, listed and named.
        m_dialogs->clearRecord();
        m_dialogs->queueOpenFile(qs(locked));
        form6().Open1->trigger();
        QCOMPARE(m_dialogs->texts(Kind::Error), QStringList{QStringLiteral("File access denied.")});
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(first));
        QCOMPARE(form6().LMDLB1->rowCount(), 3);
        // The folder of the refused file is remembered all the same.
        QVERIFY(settingsBytes().contains(
            (QStringLiteral("startdir=") + qs(m_folder->path()) + u'/').toUtf8()));

        // A later cancelled open still names the first file, and a save writes into it.
        m_dialogs->queueOpenFile(QString());
        form6().Open1->trigger();
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(first));
        const Bytes lockedBefore = testsupport::readFile(locked);
        m_windows->document.markUnsaved();
        form6().Save1->trigger();
        QCOMPARE(m_dialogs->texts(Kind::Error).size(), 1);
        QCOMPARE(testsupport::readFile(locked), lockedBefore);
        QVERIFY(!form6().Save1->isEnabled());
    }

    void savingFromTheMenuKeepsTheSelectedRow() {
        const std::string path = writeDataFile("OBJDAT.dat", 5);
        startAndOpen(path);
        form6().LMDLB1->setSelectedIndex(3);
        form6().LMDLB1Click();
        form6().ME3->setFocus();
        QTest::keyClick(form6().ME3, Qt::Key_7); // the whole text is selected on focus
        QVERIFY(form6().Save1->isEnabled());

        form6().Save1->trigger();
        QVERIFY(m_dialogs->texts(Kind::Error).isEmpty());
        QVERIFY(!form6().Save1->isEnabled());
        QCOMPARE(form6().LMDLB1->selectedIndex(), 3);
        const Bytes bytes = testsupport::readFile(path);
        QCOMPARE(testsupport::recordAt(bytes, 3).fields[1], 7u);
        QCOMPARE(testsupport::storedCount(bytes), 5);
        // Header and tail kept.
        const auto header = testsupport::patternedHeader();
        QCOMPARE(Bytes(bytes.begin(), bytes.begin() + 20),
                 Bytes(header.begin(), header.begin() + 20));
        QCOMPARE(Bytes(bytes.end() - 3, bytes.end()), (Bytes{1, 2, 3}));
    }

    void closingAsksAboutUnsavedChanges() {
        const std::string path = writeDataFile("OBJDAT.dat", 4);
        startAndOpen(path);
        const Bytes before = testsupport::readFile(path);

        // Nothing changed: no question, the program ends.
        QVERIFY(form6().close());
        QVERIFY(m_dialogs->texts(Kind::Confirm).isEmpty());
        QCOMPARE(m_endings, 1);

        // Changed, answered No: nothing written, the program ends.
        form6().show();
        m_windows->document.markUnsaved();
        m_dialogs->queueAnswer(ui::Dialogs::Answer::No);
        QVERIFY(form6().close());
        QCOMPARE(m_dialogs->texts(Kind::Confirm),
                 QStringList{QStringLiteral("Do you wish to save the changes?")});
        QVERIFY(m_dialogs->texts(Kind::Information).isEmpty());
        QCOMPARE(testsupport::readFile(path), before);
        QCOMPARE(m_endings, 2);
    }

    void closingWithYesSavesAfterTheNotice() {
        const std::string path = writeDataFile("OBJDAT.dat", 4);
        startAndOpen(path);
        m_windows->document.table().records[2].fields[2] = 4242;
        m_windows->document.markUnsaved();
        m_dialogs->queueAnswer(ui::Dialogs::Answer::Yes);
        QVERIFY(form6().close());
        QCOMPARE(m_dialogs->texts(Kind::Information),
                 QStringList{QStringLiteral("Saving changes.")});
        QCOMPARE(testsupport::recordAt(testsupport::readFile(path), 2).fields[2], 4242u);
        QCOMPARE(m_endings, 1);
        QCOMPARE(m_files->openFiles(), 0);
    }

    void aFailingSaveAtCloseKeepsTheWindowOpen() {
        const std::string path = writeDataFile("OBJDAT.dat", 4);
        startAndOpen(path);
        m_windows->document.markUnsaved();
        m_files->limitWrites(10);
        m_dialogs->queueAnswer(ui::Dialogs::Answer::Yes);
        QVERIFY(!form6().close());
        QVERIFY(form6().isVisible());
        QCOMPARE(m_dialogs->texts(Kind::Error), QStringList{QStringLiteral("Disk full.")});
        QCOMPARE(m_endings, 0);
        QVERIFY(form6().Save1->isEnabled());
    }

    void openingAnotherFileAsksToSaveFirst() {
        const std::string first = writeDataFile("OBJDAT.dat", 4);
        const std::string second = writeDataFile("objother.dat", 6);
        startAndOpen(first);
        m_windows->document.table().records[1].fields[0] = 77;
        m_windows->document.markUnsaved();

        // A cancelled dialog asks nothing and changes nothing.
        m_dialogs->queueOpenFile(QString());
        form6().Open1->trigger();
        QVERIFY(m_dialogs->texts(Kind::Confirm).isEmpty());
        QVERIFY(form6().Save1->isEnabled());

        // Yes saves the first file before the second one is loaded.
        m_dialogs->queueOpenFile(qs(second));
        m_dialogs->queueAnswer(ui::Dialogs::Answer::Yes);
        form6().Open1->trigger();
        QCOMPARE(m_dialogs->texts(Kind::Confirm).size(), 1);
        QCOMPARE(testsupport::recordAt(testsupport::readFile(first), 1).fields[0], 77u);
        QCOMPARE(form6().LMDLB1->rowCount(), 6);
        QVERIFY(!form6().Save1->isEnabled());
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(second));

        // No goes on without saving.
        m_windows->document.table().records[1].fields[0] = 99;
        m_windows->document.markUnsaved();
        m_dialogs->queueOpenFile(qs(first));
        m_dialogs->queueAnswer(ui::Dialogs::Answer::No);
        form6().Open1->trigger();
        QCOMPARE(testsupport::recordAt(testsupport::readFile(second), 1).fields[0],
                 testsupport::sampleRecord(1).fields[0]);
        QCOMPARE(form6().LMDLB1->rowCount(), 4);
    }

    void aFileNamedAtStartUpIsOpenedWithoutAnyDialog() {
        const std::string path = writeDataFile("OBJDAT.dat", 6);
        shell::SettingsFile settings;
        settings.writeStartDir(QStringLiteral("/elsewhere/"));
        settings.writeDamageScale(250);
        settings.writeSizeScale(40);
        startWithFile(path);

        QVERIFY(m_dialogs->folderPrompts().isEmpty());
        QVERIFY(m_dialogs->openRequests().isEmpty());
        QVERIFY(m_dialogs->texts(Kind::Error).isEmpty());
        QVERIFY(!m_windows->form1.isVisible());
        QVERIFY(form6().isVisible());
        QVERIFY(!form6().LMDLabelFill1->isVisible());
        QCOMPARE(form6().LMDLB1->rowCount(), 6);
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(path));
        QCOMPARE(form6().LMDSE2->value(), 250);
        QCOMPARE(form6().LMDSE1->value(), 40);
        QVERIFY(!form6().Save1->isEnabled());

        // The file's folder is the start folder now, and the next "Open" starts there.
        const QString folder = qs(m_folder->path()) + u'/';
        QCOMPARE(settings.readStartDir(QString()), folder);
        m_dialogs->queueOpenFile(QString());
        form6().Open1->trigger();
        QVERIFY(m_dialogs->folderPrompts().isEmpty());
        QCOMPARE(m_dialogs->openRequests().last().startFolder, folder);
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(path));
    }

    void aFileNamedAtStartUpThatFailsLeavesTheFirstLayout_data() {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("error");
        QTest::newRow("refused") << true << QStringLiteral("File access denied.");
        QTest::newRow("missing") << false << QStringLiteral("File not found.");
    }

    void aFileNamedAtStartUpThatFailsLeavesTheFirstLayout() {
        QFETCH(bool, exists);
        QFETCH(QString, error);
        const std::string path =
            exists ? writeDataFile("OBJDAT.dat", 3) : m_folder->file("OBJDAT.dat");
        m_files->refuseOpen(exists ? path : std::string(), EACCES);
        startWithFile(path);

        QCOMPARE(m_dialogs->texts(Kind::Error), QStringList{error});
        QVERIFY(m_dialogs->folderPrompts().isEmpty());
        QVERIFY(m_dialogs->openRequests().isEmpty());
        QVERIFY(!m_windows->form1.isVisible());
        QVERIFY(form6().isVisible());
        QVERIFY(form6().LMDLabelFill1->isVisible());
        QVERIFY(!form6().LMDLB1->isVisible());
        QCOMPARE(form6().windowTitle(), QStringLiteral("Corvane Object Data Editor"));
        QCOMPARE(m_files->openFiles(), 0);
    }

    void aDroppedFileOpensAsOpenWould() {
        const std::string first = writeDataFile("OBJDAT.dat", 4);
        const Bytes firstBefore = testsupport::readFile(first);
        QVERIFY(QDir().mkpath(qs(m_folder->file("mods"))));
        const std::string second = writeDataFile("mods/objother.dat", 6);
        startAndOpen(first);
        m_windows->document.table().records[1].fields[0] = 77;
        m_windows->document.markUnsaved();
        m_dialogs->queueAnswer(ui::Dialogs::Answer::No);

        drop({QUrl::fromLocalFile(qs(second))}, dropTarget());
        QCOMPARE(m_dialogs->texts(Kind::Confirm),
                 QStringList{QStringLiteral("Do you wish to save the changes?")});
        QCOMPARE(testsupport::readFile(first), firstBefore);
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(second));
        QCOMPARE(form6().LMDLB1->rowCount(), 6);
        QVERIFY(!form6().Save1->isEnabled());
        QCOMPARE(form6().LMDSE1->text(), QStringLiteral("100")); // the field's text is untouched
        QCOMPARE(shell::SettingsFile().readStartDir(QString()), qs(m_folder->file("mods/")));
        QCOMPARE(m_dialogs->openRequests().size(), 1); // no dialog for the drop
        QVERIFY(m_dialogs->texts(Kind::Error).isEmpty());
    }

    void aDropThatCannotOpenChangesNothing_data() {
        QTest::addColumn<QString>("dropped"); // in the test's folder; "*" for two files
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("two files")
            << "*" << int(Kind::Information) << QStringLiteral("Drop one data file at a time.");
        QTest::newRow("a folder") << "mods" << int(Kind::Information)
                                  << QStringLiteral(
                                         "@ is a folder. Drop a data file to open it.");
        QTest::newRow("a web address")
            << "https://example.org/OBJDAT.dat" << int(Kind::Information)
            << QStringLiteral("Only a file on this computer can be opened: "
                              "https://example.org/OBJDAT.dat");
        QTest::newRow("a missing file")
            << "objnone.dat" << int(Kind::Error) << QStringLiteral("File not found.");
        QTest::newRow("a refused file")
            << "objlocked.dat" << int(Kind::Error) << QStringLiteral("File access denied.");
    }

    void aDropThatCannotOpenChangesNothing() {
        QFETCH(QString, dropped);
        QFETCH(int, kind);
        QFETCH(QString, message);
        const QString folder = qs(m_folder->path());
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/mods")));
        const std::string first = writeDataFile("OBJDAT.dat", 3);
        m_files->refuseOpen(writeDataFile("objlocked.dat", 5), EACCES);
        QTest::mouseClick(m_windows->form1.Button5, Qt::LeftButton); // before any "Open"

        QList<QUrl> urls;
        if (dropped == u'*')
            urls = {QUrl::fromLocalFile(qs(first)),
                    QUrl::fromLocalFile(folder + QStringLiteral("/objlocked.dat"))};
        else if (dropped.contains(u':'))
            urls = {QUrl(dropped)};
        else
            urls = {QUrl::fromLocalFile(folder + u'/' + dropped)};
        drop(urls, dropTarget());
        // The folder as the system writes it ("C:\Users\..." on Windows).
        QCOMPARE(m_dialogs->texts(Kind(kind)),
                 QStringList{message.replace(
                     u'@', QDir::toNativeSeparators(folder + QStringLiteral("/mods")))});
        QCOMPARE(m_dialogs->messages().size(), 1);
        QVERIFY(form6().LMDLabelFill1->isVisible());
        QCOMPARE(form6().windowTitle(), QStringLiteral("Corvane Object Data Editor"));
        QCOMPARE(m_files->openFiles(), 0);

        // A data file dropped then opens, and the editor shows it.
        drop({QUrl::fromLocalFile(qs(first))}, &form6());
        QCOMPARE(form6().windowTitle(), QStringLiteral("Editing ") + qs(first));
        QVERIFY(!form6().LMDLabelFill1->isVisible());
        QCOMPARE(form6().LMDLB1->rowCount(), 3);
    }

    void everyOpenedFileIsARecentFile() {
#ifdef Q_OS_WIN
        for (const char* name : {"objdrop.dat", "objlocked.dat", "objnamed.dat"})
            for (const QString& link : recentLinks(QString::fromLatin1(name)))
                QFile::remove(link);
#endif
        const std::string chosen = writeDataFile("OBJDAT.dat", 3);
        const std::string dropped = writeDataFile("objdrop.dat", 4);
        const std::string refused = writeDataFile("objlocked.dat", 5);
        const std::string named = writeDataFile("objnamed.dat", 6);
        m_files->refuseOpen(refused, EACCES);
        startAndOpen(chosen);
        drop({QUrl::fromLocalFile(qs(dropped))}, dropTarget());
        m_dialogs->queueOpenFile(qs(refused));
        form6().Open1->trigger();
        m_dialogs->queueOpenFile(QString());
        form6().Open1->trigger();
        startWithFile(named);
        QCOMPARE(m_dialogs->texts(Kind::Error), QStringList{QStringLiteral("File access denied.")});

#ifdef Q_OS_WIN
        // Windows keeps the list itself, a link for each file in the user's Recent folder.
        for (const std::string& file : {dropped, named})
            QCOMPARE(recentLinks(QFileInfo(qs(file)).fileName()).size(), 1);
        QVERIFY(recentLinks(QStringLiteral("objlocked.dat")).isEmpty());
        return;
#endif
        QStringList files;
        for (const testsupport::Bookmark& bookmark :
             testsupport::readBookmarks(shell::RecentFiles::defaultPath())) {
            files << bookmark.file;
            QCOMPARE(bookmark.uses,
                     (QMap<QString, int>{{QStringLiteral("corvane-objdat-editor"), 1}}));
        }
        QCOMPARE(files, (QStringList{qs(chosen), qs(dropped), qs(named)}));
    }
};

QTEST_MAIN(ApplicationTest)
#include "application_test.moc"
