// Every file operation of every flow made to fail, through the real windows:
// each open, lock, read, write, sync, rename, remove and close of "Open" (with
// and without a settings file and a names file), "Save", "Add Record", "Clear
// Record" and the close at exit, made to fail once and, in a second pass,
// together with every operation after it. Each fault must show its message
// (or, past the point where a save is whole, change nothing of its outcome),
// leave each file whole and old or new, a failed save the old pair exactly,
// and give way to a retry that leaves exactly the files a run without faults
// leaves. In a third pass the program is stopped at each operation, as a kill
// or a power cut stops it: the next open finds the old pair or the new one.
//
// A flow is a row of the table in flows(): a prepare step, the user's action,
// the retry once the fault is gone, and the checks of its result.

#include "document/document_reader.h"
#include "document/file_session.h"
#include "document/journal.h"
#include "document/own_files.h"
#include "document/whole_file.h"
#include "shell/error_text.h"
#include "shell/settings_file.h"
#include "tests/app/running_editor.h"
#include "tests/support/data_files.h"
#include "tests/support/settings_line_end.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/percent_spin_box.h"
#include "ui/controls/record_list.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <unistd.h>

using testsupport::Bytes;
using testsupport::RunningEditor;
using Operation = testsupport::TestFileSystem::Operation;

namespace {

constexpr int kRecords = 4;
constexpr int kEditedRow = 2;
// "Clear Record" leaves the game's own objects, records 0 to 188, alone.
constexpr int kClearableRecords = 190;
constexpr int kClearedRow = 189;
const QString kInitialCaption = QStringLiteral("Corvane Object Data Editor");

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

/** Where two files first differ, for a report. */
QString firstDifference(const Bytes& actual, const Bytes& expected) {
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end())
        return {};
    return QStringLiteral(" (from byte %1 of %2, expected %3)")
        .arg(a - actual.begin())
        .arg(actual.size())
        .arg(expected.size());
}

bool isTemporaryName(const std::string& name) {
    return name.starts_with('.') && name.ends_with(".tmp");
}

/** The checks of one run; each failed check is kept with the run it belongs to. */
class Findings {
public:
    void setRun(const QString& run) { m_run = run; }
    void expect(bool holds, const QString& what) {
        if (!holds)
            m_failures << m_run + QStringLiteral(": ") + what;
    }
    const QStringList& failures() const { return m_failures; }

private:
    QString m_run;
    QStringList m_failures;
};

/** One run of the program over its own files. */
class Run {
public:
    explicit Run(int records) : m_records(records) {
        // The settings folder is shared by every run; what an earlier run left there goes.
        for (const std::string& name : entriesOf(configFolder()))
            std::filesystem::remove(std::filesystem::path(configFolder()) / name);
        m_data = m_folder.file("OBJDAT.dat");
        m_names = m_folder.file("OBJDAT.nam");
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(records);
        file.tail = {7, 7, 7};
        file.write(m_data);
        m_dataBefore = testsupport::readFile(m_data);
        m_edited = m_dataBefore;
        const std::uint32_t value = 77;
        const auto at = static_cast<std::size_t>(testsupport::fieldOffset(kEditedRow, 1));
        for (std::size_t i = 0; i < 4; ++i)
            m_edited[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }

    static QString settingsPath() { return RunningEditor::settingsPath(); }
    static std::string configFolder() {
        return QFileInfo(settingsPath()).absolutePath().toStdString();
    }
    QString folder() const { return qs(m_folder.path()); }
    QString dataPath() const { return qs(m_data); }

    /** A names file whose slots carry bytes after their terminators, and a stored start folder
     * and percentages, so "Open" asks for no folder. */
    void storeNamesAndSettings() {
        std::vector<std::string> names = {"Bunker", std::string("AB\0old", 6), std::string(30, 'W'),
                                          "Radar"};
        while (static_cast<int>(names.size()) < m_records)
            names.push_back("Object " + std::to_string(names.size()));
        testsupport::writeNamesFile(m_data, names);
        writeBytes(settingsPath(),
                   "[settings]\nstartdir=" + folder().toUtf8() + "/\ndamscale=250\nsizescale=40\n");
    }

    /** The bytes of the files as they are before the flow runs. */
    void takeSnapshot() {
        m_namesBefore = testsupport::readFile(m_names);
        m_settingsBefore = fileBytes(settingsPath());
    }

    /** The editor opens the file (no fault). */
    void openStored() {
        storeNamesAndSettings();
        takeSnapshot();
        m_editor->startAndOpen(dataPath(), folder());
        if (m_editor->form6().LMDLB1->rowCount() != m_records || !m_editor->errors().isEmpty())
            throw std::runtime_error("the open before the flow did not take");
    }

    /** openStored(), then the user changes field 1 of row 2 to 77. */
    void openAndEdit() {
        openStored();
        m_editor->clickRow(kEditedRow);
        m_editor->typeOver(m_editor->form6().ME3, QStringLiteral("77"));
        if (!m_editor->form6().Save1->isEnabled() || !m_editor->errors().isEmpty())
            throw std::runtime_error("the edit before the flow did not take");
    }

    RunningEditor& editor() { return *m_editor; }
    /** The program ends at once, as a killed one does: its files closed, nothing else done. */
    void stop() { m_editor.reset(); }
    int records() const { return m_records; }
    const testsupport::TempFolder& dataFolder() const { return m_folder; }
    const std::string& data() const { return m_data; }
    const std::string& names() const { return m_names; }
    const Bytes& dataBefore() const { return m_dataBefore; }
    const Bytes& namesBefore() const { return m_namesBefore; }
    const QByteArray& settingsBefore() const { return m_settingsBefore; }
    /** The data file with the edit of openAndEdit saved. */
    const Bytes& edited() const { return m_edited; }

private:
    int m_records;
    testsupport::TempFolder m_folder;
    std::unique_ptr<RunningEditor> m_editor = std::make_unique<RunningEditor>();
    std::string m_data;
    std::string m_names;
    Bytes m_dataBefore;
    Bytes m_namesBefore;
    Bytes m_edited;
    QByteArray m_settingsBefore;
};

struct Flow {
    const char* name;
    int records;
    /** Makes the files and brings the program to the point where the flow starts. */
    std::function<void(Run&)> prepare;
    /** What the user does. */
    std::function<void(Run&)> act;
    /** What the user does once the fault is gone: the action again, or "Save" when the failed
     * action already changed the table. */
    std::function<void(Run&)> retry;
    /** The result of an action that went through. */
    std::function<void(Run&, Findings&)> checkDone;
    /** What must still hold after the action failed, beyond what every flow checks. */
    std::function<void(Run&, Findings&)> checkFailed;
};

/** What a run without faults leaves on disk; every retry must leave the same. */
struct Result {
    Bytes data;
    Bytes names;
    bool operator==(const Result&) const = default;
};

Bytes createdNames(int count) {
    Bytes slot(doc::kNameSlotSize, 0);
    std::copy_n("No Name Entered", 15, slot.begin());
    Bytes names;
    for (int r = 0; r < count; ++r)
        names.insert(names.end(), slot.begin(), slot.end());
    return names;
}

void checkShowsTheFile(Run& run, Findings& findings) {
    editor::TForm6& form = run.editor().form6();
    findings.expect(form.windowTitle() == QStringLiteral("Editing ") + run.dataPath(),
                    QStringLiteral("caption ") + form.windowTitle());
    findings.expect(form.LMDLB1->rowCount() == run.records(), QStringLiteral("rows listed"));
}

void checkOpenRefused(Run& run, Findings& findings) {
    findings.expect(run.editor().form6().windowTitle() == kInitialCaption,
                    QStringLiteral("the caption names a file that did not open"));
    findings.expect(testsupport::readFile(run.data()) == run.dataBefore(),
                    QStringLiteral("the data file changed"));
}

/** The settings file after a first open, read as the program reads it. */
void checkFirstSettings(Run& run, Findings& findings) {
    const shell::SettingsFile settings(Run::settingsPath());
    findings.expect(settings.readStartDir(QString()) == run.folder() + u'/',
                    QStringLiteral("start folder ") + settings.readStartDir(QString()));
    findings.expect(settings.readDamageScale() == 100 && settings.readSizeScale() == 100,
                    QStringLiteral("percentages"));
}

/** A first open writes the settings file four times, each write whole: it is missing or holds
 * one of these. */
void checkFirstSettingsWhole(Run& run, Findings& findings) {
    if (!QFile::exists(Run::settingsPath()))
        return;
    const QByteArray folder = run.folder().toUtf8();
    const QByteArray states[] = {
        "[settings]" SETTINGS_EOL "startdir=" + folder + SETTINGS_EOL,
        "[settings]" SETTINGS_EOL "startdir=" + folder + SETTINGS_EOL "damscale=100" SETTINGS_EOL,
        "[settings]" SETTINGS_EOL "startdir=" + folder + SETTINGS_EOL "damscale=100" SETTINGS_EOL
        "sizescale=100" SETTINGS_EOL,
        "[settings]" SETTINGS_EOL "startdir=" + folder + "/" SETTINGS_EOL "damscale=100" SETTINGS_EOL
        "sizescale=100" SETTINGS_EOL,
    };
    const QByteArray now = fileBytes(Run::settingsPath());
    findings.expect(std::find(std::begin(states), std::end(states), now) != std::end(states),
                    QStringLiteral("settings file half-written: ") + QString::fromUtf8(now));
}

void checkSaved(Run& run, Findings& findings) {
    editor::TForm6& form = run.editor().form6();
    findings.expect(!form.Save1->isEnabled(), QStringLiteral("\"Save\" still enabled"));
    findings.expect(testsupport::readFile(run.data()) == run.edited(),
                    QStringLiteral("the data file is not the edited one") +
                        firstDifference(testsupport::readFile(run.data()), run.edited()));
    findings.expect(testsupport::readFile(run.names()) == run.namesBefore(),
                    QStringLiteral("the names file changed"));
}

void checkSaveFailed(Run& run, Findings& findings) {
    findings.expect(run.editor().form6().Save1->isEnabled(),
                    QStringLiteral("\"Save\" disabled after a failed save"));
}

void clickButton(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

std::vector<Flow> flows() {
    const auto save = [](Run& run) { run.editor().form6().Save1->trigger(); };
    const auto open = [](Run& run) { run.editor().open(run.dataPath(), run.folder()); };
    return {
        {"first open: settings file and names file made", kRecords,
         [](Run& run) {
             run.takeSnapshot();
             run.editor().start();
         },
         open, open,
         [](Run& run, Findings& findings) {
             checkShowsTheFile(run, findings);
             findings.expect(testsupport::readFile(run.names()) == createdNames(kRecords),
                             QStringLiteral("names file"));
             findings.expect(testsupport::readFile(run.data()) == run.dataBefore(),
                             QStringLiteral("the data file changed"));
             checkFirstSettings(run, findings);
         },
         [](Run& run, Findings& findings) {
             checkOpenRefused(run, findings);
             checkFirstSettingsWhole(run, findings);
         }},

        {"open: stored settings and names file", kRecords,
         [](Run& run) {
             run.storeNamesAndSettings();
             run.takeSnapshot();
             run.editor().start();
         },
         open, open,
         [](Run& run, Findings& findings) {
             checkShowsTheFile(run, findings);
             findings.expect(testsupport::readFile(run.names()) == run.namesBefore(),
                             QStringLiteral("the names file changed"));
             findings.expect(testsupport::readFile(run.data()) == run.dataBefore(),
                             QStringLiteral("the data file changed"));
             findings.expect(fileBytes(Run::settingsPath()) == run.settingsBefore(),
                             QStringLiteral("the settings file changed"));
             findings.expect(run.editor().form6().LMDSE2->value() == 250,
                             QStringLiteral("stored percentage"));
         },
         [](Run& run, Findings& findings) {
             checkOpenRefused(run, findings);
             findings.expect(testsupport::readFile(run.names()) == run.namesBefore(),
                             QStringLiteral("the names file changed"));
             findings.expect(fileBytes(Run::settingsPath()) == run.settingsBefore(),
                             QStringLiteral("the settings file changed"));
         }},

        {"save", kRecords, [](Run& run) { run.openAndEdit(); }, save, save,
         [](Run& run, Findings& findings) {
             checkSaved(run, findings);
             findings.expect(run.editor().form6().LMDLB1->selectedIndex() == kEditedRow,
                             QStringLiteral("row selected again"));
         },
         checkSaveFailed},

        {"Add Record", kRecords, [](Run& run) { run.openStored(); },
         [](Run& run) { clickButton(run.editor().form6().LMDButton2); }, save,
         [](Run& run, Findings& findings) {
             editor::TForm6& form = run.editor().form6();
             findings.expect(!form.Save1->isEnabled(), QStringLiteral("\"Save\" still enabled"));
             findings.expect(form.LMDLB1->selectedIndex() == kRecords,
                             QStringLiteral("the new row is not selected"));
             const Bytes data = testsupport::readFile(run.data());
             findings.expect(testsupport::storedCount(data) == kRecords + 1 &&
                                 data.size() ==
                                     static_cast<std::size_t>(doc::recordOffset(kRecords + 1)),
                             QStringLiteral("the data file did not grow by one record"));
             const Bytes names = testsupport::readFile(run.names());
             findings.expect(names.size() == run.namesBefore().size() + doc::kNameSlotSize &&
                                 testsupport::slotAt(names, kRecords) ==
                                     testsupport::nameSlot("Empty Object Slot"),
                             QStringLiteral("the names file did not grow by one slot"));
         },
         [](Run& run, Findings& findings) {
             checkSaveFailed(run, findings);
             findings.expect(run.editor().form6().LMDLB1->rowCount() == kRecords + 1,
                             QStringLiteral("the new row is not listed"));
         }},

        {"Clear Record", kClearableRecords,
         [](Run& run) {
             run.openStored();
             run.editor().clickRow(kClearedRow);
         },
         [](Run& run) { clickButton(run.editor().form6().LMDButton4); }, save,
         [](Run& run, Findings& findings) {
             findings.expect(!run.editor().form6().Save1->isEnabled(),
                             QStringLiteral("\"Save\" still enabled"));
             const Bytes data = testsupport::readFile(run.data());
             findings.expect(testsupport::recordAt(data, kClearedRow).fields[10] == 10000u,
                             QStringLiteral("the record does not hold the defaults"));
             findings.expect(testsupport::slotAt(testsupport::readFile(run.names()), kClearedRow) ==
                                 testsupport::nameSlot("Empty Object Slot"),
                             QStringLiteral("the name is not the default"));
         },
         checkSaveFailed},

        {"close at exit, saving", kRecords, [](Run& run) { run.openAndEdit(); },
         [](Run& run) {
             run.editor().dialogs().queueAnswer(ui::Dialogs::Answer::Yes);
             run.editor().form6().close();
         },
         [](Run& run) {
             run.editor().dialogs().queueAnswer(ui::Dialogs::Answer::Yes);
             run.editor().form6().close();
         },
         [](Run& run, Findings& findings) {
             checkSaved(run, findings);
             findings.expect(run.editor().endings() == 1, QStringLiteral("the program went on"));
             findings.expect(run.editor().files().openFiles() == 0,
                             QStringLiteral("files left open"));
         },
         [](Run& run, Findings& findings) {
             findings.expect(run.editor().endings() == 0,
                             QStringLiteral("the program ended after a failure"));
             findings.expect(run.editor().form6().isVisible(),
                             QStringLiteral("the editor window closed after a failure"));
         }},
    };
}

/** The error box a fault of that operation must show. */
QString expectedError(const testsupport::TestFileSystem::OperationRecord& fault) {
    const bool onSettings =
        QFileInfo(qs(fault.path)).absolutePath().toStdString() == Run::configFolder();
    const QString message = onSettings
                                ? QStringLiteral("Unable to write to ") + Run::settingsPath()
                                : qs(testsupport::TestFileSystem::faultMessage(fault.operation));
    return shell::errorBoxText(message);
}

/** What a journal left beside the pair would put back: the pair as it is, with the journal
 * applied to copies of it. */
Result putBack(Run& run, const doc::DecodedJournal& decoded, Findings& findings) {
    findings.expect(decoded.state != doc::JournalState::Damaged,
                    QStringLiteral("the journal left is damaged"));
    const testsupport::TempFolder copies;
    const std::string data = copies.file("OBJDAT.dat"), names = copies.file("OBJDAT.nam");
    testsupport::writeFile(data, testsupport::readFile(run.data()));
    testsupport::writeFile(names, testsupport::readFile(run.names()));
    if (decoded.state == doc::JournalState::Pending) {
        auto& files = doc::FileSystem::real();
        doc::rollBack(decoded.journal, *files.openExisting(data), *files.openExisting(names));
    }
    return {testsupport::readFile(data), testsupport::readFile(names)};
}

/** What every failed flow must leave: only files the editor can open again (temporary files and
 * the save's journal only when the disk also refused to remove them), each file whole and old or
 * new, a failed save the old pair exactly (at once, or once the journal left is put back), and
 * "Save" disabled only when the disk holds what the table holds. */
void checkLeftFiles(Run& run, const Result& done, bool persistent, Findings& findings) {
    const std::string journal = doc::journalPathFor(run.data());
    for (const std::string& folder : {run.dataFolder().path(), Run::configFolder()}) {
        for (const std::string& name : entriesOf(folder)) {
            const bool expected =
                name == "OBJDAT.dat" || name == "OBJDAT.nam" || name == "cvnobj.INI" ||
                (persistent && (isTemporaryName(name) || folder + "/" + name == journal));
            findings.expect(expected, QStringLiteral("file left: ") + qs(name));
        }
    }
    Result now{testsupport::readFile(run.data()), testsupport::readFile(run.names())};
    // A disk that fails for good right after it took the mark that the save is whole leaves the
    // new pair: the save happened, though it could not be told.
    bool markedDone = false;
    if (std::filesystem::exists(journal)) {
        const doc::DecodedJournal decoded = doc::decodeJournal(testsupport::readFile(journal));
        markedDone = decoded.state == doc::JournalState::Done;
        now = putBack(run, decoded, findings);
    } else {
        // Read as the command-line companion reads it: no names file is made, every check
        // applies, so a count naming records the file does not hold would show here.
        try {
            doc::readStoredDocument(doc::FileSystem::real(), run.data());
        } catch (const std::exception& error) {
            findings.expect(false, QStringLiteral("the files no longer open: ") + qs(error.what()));
        }
    }
    findings.expect(now.data == run.dataBefore() || now.data == done.data,
                    QStringLiteral("the data file is neither the old one nor the new one"));
    findings.expect(now.names == run.namesBefore() || now.names == done.names,
                    QStringLiteral("the names file is neither the old one nor the new one"));
    editor::TForm6& form = run.editor().form6();
    if (form.Save1->isEnabled() && form.windowTitle() != kInitialCaption && !markedDone)
        findings.expect(now.data == run.dataBefore() && now.names == run.namesBefore(),
                        QStringLiteral("a failed save left other files than the old pair"));
    if (!form.Save1->isEnabled() && form.windowTitle() != kInitialCaption)
        findings.expect(now.data == run.dataBefore() || now.data == done.data,
                        QStringLiteral("\"Save\" disabled with unsaved bytes"));
}

/** The pair as the next program to open it finds it, with the stopped one gone. */
Result afterFreshOpen(Run& run) {
    testsupport::TestFileSystem files;
    files.treatAsGone(static_cast<int>(::getpid()));
    doc::FileSession session(files);
    session.open(run.data());
    session.close();
    return {testsupport::readFile(run.data()), testsupport::readFile(run.names())};
}

enum class Mode { FailOnce, FailFromThere, Stop };

struct Tally {
    int points = 0;
    int runs = 0;
    std::map<Operation, int> byOperation;
};

/** Runs the flow once to count its operations, then once per operation with that operation
 * failing (and with FailFromThere every later one), each followed by a retry without faults; or
 * with the program stopped there, followed by a fresh open. */
void injectEveryFault(const Flow& flow, Mode mode, Findings& findings, Tally& tally) {
    const bool persistent = mode == Mode::FailFromThere;
    int count = 0;
    Result done;
    {
        Run run(flow.records);
        findings.setRun(qs(flow.name) + QStringLiteral(", without faults"));
        flow.prepare(run);
        run.editor().files().resetOperations();
        flow.act(run);
        count = static_cast<int>(run.editor().files().operations().size());
        findings.expect(run.editor().errors().isEmpty(),
                        QStringLiteral("errors: ") + run.editor().errors().join(u'|'));
        flow.checkDone(run, findings);
        done = {testsupport::readFile(run.data()), testsupport::readFile(run.names())};
        if (mode == Mode::FailOnce) {
            tally.points += count;
            for (const auto& operation : run.editor().files().operations())
                ++tally.byOperation[operation.operation];
        }
    }
    findings.expect(count > 0, QStringLiteral("no file operation at all"));

    for (int n = 0; n < count; ++n) {
        Run run(flow.records);
        flow.prepare(run);
        testsupport::TestFileSystem& files = run.editor().files();
        files.resetOperations();
        if (mode == Mode::Stop)
            files.crashAt(n);
        else
            files.failOperation(n, persistent);
        flow.act(run);
        ++tally.runs;

        if (mode == Mode::Stop) {
            findings.setRun(qs(flow.name) + QStringLiteral(", stopped at ") + QString::number(n));
            // Without a names file before, the next open makes one, as the flow would have.
            const Result before{run.dataBefore(), run.namesBefore().empty()
                                                      ? createdNames(flow.records)
                                                      : run.namesBefore()};
            run.stop();
            const Result found = afterFreshOpen(run);
            findings.expect(found == before || found == done,
                            QStringLiteral("the next open finds neither the old pair nor the new"));
            const std::set<std::string> pair = {"OBJDAT.dat", "OBJDAT.nam"};
            findings.expect(entriesOf(run.dataFolder().path()) == pair,
                            QStringLiteral("files left beside the pair"));
            continue;
        }

        const auto& fault = files.injectedFault();
        const QString where =
            fault ? qs(testsupport::TestFileSystem::operationName(fault->operation)) +
                        QStringLiteral(" of ") + qs(fault->path)
                  : QStringLiteral("nothing");
        findings.setRun(qs(flow.name) +
                        (persistent ? QStringLiteral(", from ") : QStringLiteral(", at ")) +
                        QString::number(n) + QStringLiteral(" (") + where + u')');
        findings.expect(fault.has_value(), QStringLiteral("the flow took another course"));
        if (!fault)
            continue;
        if (run.editor().errors().isEmpty()) {
            // A fault past the point where the save is whole (the journal's close or removal)
            // changes nothing of the outcome, and is not reported as a failure.
            flow.checkDone(run, findings);
            findings.expect(testsupport::readFile(run.data()) == done.data &&
                                testsupport::readFile(run.names()) == done.names,
                            QStringLiteral("a fault no one was told of changed the outcome"));
            continue;
        }
        findings.expect(run.editor().errors() == QStringList{expectedError(*fault)},
                        QStringLiteral("errors shown: ") + run.editor().errors().join(u'|'));
        flow.checkFailed(run, findings);
        checkLeftFiles(run, done, persistent, findings);

        // The fault is gone: the user tries again.
        files.clearOperationFaults();
        run.editor().freshDialogs();
        flow.retry(run);
        findings.expect(run.editor().errors().isEmpty(),
                        QStringLiteral("retry: ") + run.editor().errors().join(u'|'));
        flow.checkDone(run, findings);
        findings.expect(testsupport::readFile(run.data()) == done.data &&
                            testsupport::readFile(run.names()) == done.names,
                        QStringLiteral("the retry left other files than a run without faults"));
    }
}

} // namespace

class FaultInjectionTest : public QObject {
    Q_OBJECT

private slots:
    void everyFaultOfEveryFlow() {
        Findings findings;
        Tally tally;
        for (const Flow& flow : flows()) {
            const int before = tally.points;
            for (const Mode mode : {Mode::FailOnce, Mode::FailFromThere, Mode::Stop})
                injectEveryFault(flow, mode, findings, tally);
            qInfo("%s: %d injection points", flow.name, tally.points - before);
        }
        QStringList kinds;
        for (const auto& [operation, n] : tally.byOperation)
            kinds << QStringLiteral("%1 %2")
                         .arg(qs(testsupport::TestFileSystem::operationName(operation)))
                         .arg(n);
        qInfo("%d injection points (%s), %d faulted runs, %lld failed checks", tally.points,
              qPrintable(kinds.join(QStringLiteral(", "))), tally.runs,
              static_cast<long long>(findings.failures().size()));
        QVERIFY2(findings.failures().isEmpty(),
                 qPrintable(findings.failures().mid(0, 40).join(u'\n')));
        // Every kind of operation the flows use was made to fail.
        for (const Operation operation : {Operation::Open, Operation::Create, Operation::Read,
                                          Operation::Write, Operation::Sync, Operation::Rename,
                                          Operation::Remove, Operation::Lock, Operation::Close})
            QVERIFY2(tally.byOperation[operation] > 0,
                     testsupport::TestFileSystem::operationName(operation));
    }
};

QTEST_MAIN(FaultInjectionTest)
#include "fault_injection_test.moc"
