// A second editor on a pair the first one holds, both real programs: the open
// is refused, naming the process that holds it, and the document stays as it
// was; once that program is gone, the pair opens.

#include "document/file_system.h"
#include "tests/app/running_editor.h"
#include "tests/support/data_files.h"
#include "ui/controls/record_list.h"

#include <QProcess>
#include <QtTest>

#include <chrono>
#include <thread>

class HeldPairTest : public QObject {
    Q_OBJECT

private slots:
    void aPairAnotherEditorHoldsIsRefused() {
        testsupport::TempFolder folder;
        const std::string data = folder.file("OBJDAT.dat");
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(3);
        file.write(data);
        testsupport::writeNamesFile(data, {"a", "b", "c"});
        const std::string mine = folder.file("MINE.dat");
        file.records = testsupport::sampleRecords(2);
        file.write(mine);

        QProcess other;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        other.setProcessEnvironment(environment);
        other.start(QStringLiteral(EDITOR_PATH), {QString::fromStdString(data)});
        QVERIFY(other.waitForStarted());
        // Looked at without a lock of its own, which could stand in the other editor's way.
        const auto probe = doc::FileSystem::real().openReadOnly(data);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (probe->lockHolder(doc::LockSlot::Writer, doc::LockMode::Exclusive) !=
                   other.processId() &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        QCOMPARE(probe->lockHolder(doc::LockSlot::Writer, doc::LockMode::Exclusive),
                 int(other.processId()));

        testsupport::RunningEditor editor;
        editor.startAndOpen(QString::fromStdString(mine), QString::fromStdString(folder.path()));
        editor.open(QString::fromStdString(data), QString::fromStdString(folder.path()));
        QCOMPARE(editor.errors(),
                 QStringList{QStringLiteral("OBJDAT.dat is open for writing in another program "
                                            "(process %1)")
                                 .arg(other.processId())});
        QCOMPARE(editor.form6().windowTitle(),
                 QStringLiteral("Editing ") + QString::fromStdString(mine));
        QCOMPARE(editor.form6().LMDLB1->rowCount(), 2);

        other.kill();
        QVERIFY(other.waitForFinished());
        editor.freshDialogs();
        editor.open(QString::fromStdString(data), QString::fromStdString(folder.path()));
        QVERIFY(editor.errors().isEmpty());
        QCOMPARE(editor.form6().LMDLB1->rowCount(), 3);
    }
};

QTEST_MAIN(HeldPairTest)
#include "held_pair_test.moc"
