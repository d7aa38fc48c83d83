// The desktop's list of recently used files: what a use adds, that other programs' entries
// stay, that the list is replaced whole, and that a list that cannot be read is left alone.

#include "shell/recent_files.h"
#include "tests/support/bookmark_list.h"
#include "tests/support/data_files.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kUs = u"corvane-objdat-editor"_s;

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A list as GLib writes it: a file another program used, and one of ours used before by this
// editor and by a hex editor.
const char kOtherProgramsList[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n"
    "  <bookmark href=\"file:///home/u/notes%20&amp;%20more.txt\" "
    "added=\"2024-01-02T03:04:05.000006Z\" modified=\"2024-01-02T03:04:05.000006Z\" "
    "visited=\"2024-01-02T03:04:05.000006Z\">\n"
    "    <title>Notes</title>\n"
    "    <info>\n"
    "      <metadata owner=\"http://freedesktop.org\">\n"
    "        <mime:mime-type type=\"text/plain\"/>\n"
    "        <bookmark:groups><bookmark:group>Office</bookmark:group></bookmark:groups>\n"
    "        <bookmark:applications>\n"
    "          <bookmark:application name=\"gedit\" exec=\"&apos;gedit %u&apos;\" "
    "modified=\"2024-01-02T03:04:05.000006Z\" count=\"2\"/>\n"
    "        </bookmark:applications>\n"
    "      </metadata>\n"
    "    </info>\n"
    "  </bookmark>\n"
    "  <!-- a comment -->\n"
    "  <bookmark href=\"@OURS@\" added=\"2024-02-03T04:05:06Z\" modified=\"2024-02-03T04:05:06Z\" "
    "visited=\"2024-02-03T04:05:06Z\">\n"
    "    <info>\n"
    "      <metadata owner=\"http://freedesktop.org\">\n"
    "        <mime:mime-type type=\"application/x-corvane-test\"/>\n"
    "        <bookmark:applications>\n"
    "          <bookmark:application name=\"ghex\" exec=\"&apos;ghex %u&apos;\" "
    "modified=\"2024-02-03T04:05:06Z\" count=\"1\"/>\n"
    "          <bookmark:application name=\"corvane-objdat-editor\" "
    "exec=\"&apos;corvane-objdat-editor %f&apos;\" modified=\"2024-02-03T04:05:06Z\" "
    "count=\"3\"/>\n"
    "        </bookmark:applications>\n"
    "      </metadata>\n"
    "    </info>\n"
    "  </bookmark>\n"
    "</xbel>\n";

} // namespace

class RecentFilesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempFolder> m_folder;
    QString m_list;
    QString m_data; // a data file whose path needs escaping in a URI

    QStringList folderEntries() const {
        return QDir(QFileInfo(m_list).absolutePath())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    void init() {
        m_folder = std::make_unique<testsupport::TempFolder>();
        m_list = QString::fromStdString(m_folder->path()) + u"/share/recently-used.xbel"_s;
        const QString dataFolder = QString::fromStdString(m_folder->path()) + u"/Café mods#1"_s;
        QVERIFY(QDir().mkpath(dataFolder));
        m_data = dataFolder + u"/OBJDAT.dat"_s;
        write(m_data, QByteArray(200, '\0'));
    }
    void cleanup() { m_folder.reset(); }

    void aUseIsAddedAndCounted() {
        const shell::RecentFiles recent(m_list);
        QVERIFY(recent.add(m_data)); // the list and its folder are made
        QList<testsupport::Bookmark> bookmarks = testsupport::readBookmarks(m_list);
        QCOMPARE(bookmarks.size(), 1);
        QCOMPARE(bookmarks[0].file, m_data);
        QCOMPARE(bookmarks[0].mimeType, QMimeDatabase().mimeTypeForFile(m_data).name());
        QCOMPARE(bookmarks[0].uses, (QMap<QString, int>{{kUs, 1}}));
        QVERIFY(!bookmarks[0].added.isEmpty());

        QVERIFY(recent.add(m_data));
        const QString other = QString::fromStdString(m_folder->file("objother.dat"));
        write(other, "x");
        QVERIFY(recent.add(other));
        bookmarks = testsupport::readBookmarks(m_list);
        QCOMPARE(bookmarks.size(), 2);
        QCOMPARE(bookmarks[0].uses, (QMap<QString, int>{{kUs, 2}}));
        QCOMPARE(bookmarks[1].file, other);
        QCOMPARE(bookmarks[1].uses, (QMap<QString, int>{{kUs, 1}}));
        QCOMPARE(folderEntries(), QStringList{u"recently-used.xbel"_s});
    }

    void otherProgramsEntriesAreKeptAndTheListReplacedWhole() {
        QVERIFY(QDir().mkpath(QFileInfo(m_list).absolutePath()));
        QByteArray list(kOtherProgramsList);
        list.replace("@OURS@", QUrl::fromLocalFile(m_data).toEncoded());
        write(m_list, list);
        const QList<testsupport::Bookmark> before = testsupport::readBookmarks(m_list);
        QCOMPARE(before.size(), 2);
        // A second name for the old list: a list rewritten in place would change it too.
        const QString oldName = QString::fromStdString(m_folder->file("old.xbel"));
        QCOMPARE(
            link(QFile::encodeName(m_list).constData(), QFile::encodeName(oldName).constData()), 0);

        QVERIFY(shell::RecentFiles(m_list).add(m_data));
        const QList<testsupport::Bookmark> after = testsupport::readBookmarks(m_list);
        QCOMPARE(after.size(), 2);
        QCOMPARE(after[0].canonical, before[0].canonical);
        QCOMPARE(after[1].file, m_data);
        QCOMPARE(after[1].added, before[1].added);
        QCOMPARE(after[1].mimeType, u"application/x-corvane-test"_s);
        QCOMPARE(after[1].uses, (QMap<QString, int>{{u"ghex"_s, 1}, {kUs, 4}}));
        QVERIFY(after[1].canonical.contains(u"|visited="_s) &&
                !after[1].canonical.contains(u"|visited=2024"_s));
        QCOMPARE(bytesOf(oldName), list);
        QCOMPARE(folderEntries(), QStringList{u"recently-used.xbel"_s});
    }

    void aListThatCannotBeReadIsLeftAlone_data() {
        QTest::addColumn<QByteArray>("content"); // empty: a folder in the list's place
        QTest::newRow("cut short") << QByteArray(kOtherProgramsList).left(600);
        QTest::newRow("empty") << QByteArray("\n");
        QTest::newRow("no XML") << QByteArray("recent: a.dat b.dat\n");
        QTest::newRow("another root") << QByteArray("<?xml version=\"1.0\"?><html></html>");
        QTest::newRow("undeclared prefix")
            << QByteArray("<xbel><bookmark href=\"file:///a\"><bookmark:x/></bookmark></xbel>");
        QTest::newRow("a folder") << QByteArray();
        QTest::newRow("a pipe") << QByteArray("fifo");
    }

    void aListThatCannotBeReadIsLeftAlone() {
        QFETCH(QByteArray, content);
        QVERIFY(QDir().mkpath(QFileInfo(m_list).absolutePath()));
        if (content.isEmpty())
            QVERIFY(QDir().mkdir(m_list));
        else if (content == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(m_list).constData(), 0600), 0);
        else
            write(m_list, content);

        QVERIFY(!shell::RecentFiles(m_list).add(m_data));
        if (content.isEmpty() || content == "fifo")
            QVERIFY(!QFileInfo(m_list).isFile());
        else
            QCOMPARE(bytesOf(m_list), content);
        QCOMPARE(folderEntries(), QStringList{u"recently-used.xbel"_s});
    }
};

QTEST_MAIN(RecentFilesTest)
#include "recent_files_test.moc"
