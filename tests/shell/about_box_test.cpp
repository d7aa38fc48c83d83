// The About box: its content, the machine facts it shows, and how it closes.

#include "shell/about_box.h"
#include "shell/system_info.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <fstream>
#include <string>

class AboutBoxTest : public QObject {
    Q_OBJECT

    static QStringList labelTexts(const QWidget& widget) {
        QStringList texts;
        for (const QLabel* label : widget.findChildren<QLabel*>())
            texts << label->text();
        return texts;
    }

private slots:
    void systemFacts() {
        QVERIFY(shell::availableMemoryKilobytes() > 0);
        QVERIFY(!shell::processorKind().trimmed().isEmpty());
        const QString facts = shell::platformAndProcessors();
        QVERIFY(facts.startsWith(shell::platformName() + QStringLiteral(", ") +
                                 QString::number(shell::processorCount()) + QStringLiteral(" x ")));
        QVERIFY(facts.endsWith(shell::processorKind()));

#ifdef Q_OS_LINUX
        // Where the kernel names and counts the processors and counts available memory, those
        // figures are shown rather than the fallbacks.
        QCOMPARE(shell::platformName(), QStringLiteral("Linux"));
        std::ifstream cpuinfo("/proc/cpuinfo");
        std::string line;
        int processors = 0;
        QString model;
        while (std::getline(cpuinfo, line)) {
            if (line.rfind("processor", 0) == 0)
                ++processors;
            if (model.isEmpty() && line.rfind("model name", 0) == 0)
                model = QString::fromStdString(line.substr(line.find(':') + 2)).simplified();
        }
        QCOMPARE(shell::processorCount(), processors);
        if (!model.isEmpty())
            QCOMPARE(shell::processorKind(), model);
        std::ifstream meminfo("/proc/meminfo");
        while (std::getline(meminfo, line)) {
            if (line.rfind("MemAvailable:", 0) == 0) {
                const long long kilobytes = std::stoll(line.substr(line.find(':') + 1));
                // Memory moves while the test runs; a quarter either way is the same reading.
                const qint64 shown = shell::availableMemoryKilobytes();
                QVERIFY(shown > kilobytes * 3 / 4 && shown < kilobytes * 5 / 4);
                break;
            }
        }
#endif

        const QString memory = shell::formatKilobytes(12345678);
        QVERIFY(memory.endsWith(QStringLiteral(" KB")));
        QString digits = memory;
        digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
        QCOMPARE(digits, QStringLiteral("12345678"));
        QVERIFY(memory.size() > QStringLiteral("12345678 KB").size()); // thousands are grouped
    }

    void showsItsContent() {
        shell::AboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About the Object Data Editor"));
        const QStringList texts = labelTexts(box);
        for (const char* expected : {"Corvane Object Data Editor", "Version: 2  Build:0",
                                     "A fine little tool for editing Corvane OBJDAT files.",
                                     "Available Memory:", "Platform, CPU:"})
            QVERIFY2(texts.contains(QString::fromLatin1(expected)), expected);
        QVERIFY(texts.contains(shell::platformAndProcessors()));
        QVERIFY(std::any_of(texts.begin(), texts.end(), [](const QString& text) {
            return text.endsWith(QStringLiteral(" KB"));
        }));

        const QFont name = box.nameLabel()->font();
        QVERIFY(name.bold());
        QCOMPARE(name.pointSize(), 22);
        QCOMPARE(box.okButton()->text(), QStringLiteral("OK"));
        QVERIFY(box.okButton()->isDefault());
    }

    void okSitsAtTheBottomRight() {
        shell::AboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QRect ok(box.okButton()->mapTo(&box, QPoint()), box.okButton()->size());
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            const QRect area(label->mapTo(&box, QPoint()), label->size());
            QVERIFY(area.bottom() < ok.top());
        }
        QVERIFY(ok.right() > box.width() * 3 / 4);
    }

    void closesWithOkEnterAndEscape_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("OK") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void closesWithOkEnterAndEscape() {
        QFETCH(int, how);
        shell::AboutBox box;
        box.open(); // the opening starts as the box is shown, before any event is processed
        QVERIFY(box.isOpening());
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        if (how == 0)
            QTest::mouseClick(box.okButton(), Qt::LeftButton);
        else
            QTest::keyClick(&box, Qt::Key(how));
        QVERIFY(!box.isVisible());
        QVERIFY(!box.isOpening());
    }

    void openingAnimationEndsByItself() {
        shell::AboutBox box;
        box.show();
        QVERIFY(box.isOpening());
        QTRY_VERIFY_WITH_TIMEOUT(!box.isOpening(), 2000);
        QVERIFY(box.isVisible());
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
