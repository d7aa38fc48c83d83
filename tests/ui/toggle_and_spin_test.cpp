// The flag check boxes and the percent spin boxes.

#include "tests/support/reported_errors.h"
#include "ui/controls/flag_check_box.h"
#include "ui/controls/percent_spin_box.h"
#include "ui/user_action.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QWheelEvent>
#include <QtTest>

#include <stdexcept>

using namespace Qt::StringLiterals;
using ui::FlagCheckBox;
using ui::PercentSpinBox;

namespace {
// Replaces the spin box's text as the user would, by typing over the selection.
void typeInto(PercentSpinBox& spin, const QString& text) {
    spin.findChild<QLineEdit*>()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(&spin, Qt::Key_Backspace);
    else
        QTest::keyClicks(&spin, text);
}
} // namespace

class ToggleAndSpinTest : public QObject {
    Q_OBJECT
private slots:
    void checkBoxRaisesChangeOnlyForUserToggles();
    void checkBoxCaptionLeftOfBox();
    void checkBoxHandlerErrorIsReported();
    void spinBoxReadRules_data();
    void spinBoxReadRules();
    void spinBoxSetValueClamps();
    void spinBoxTypedCharacters();
    void spinBoxClampsWhenFocusLeaves();
    void spinBoxSteps();
    void spinBoxButtonRepeats();
};

void ToggleAndSpinTest::checkBoxRaisesChangeOnlyForUserToggles() {
    FlagCheckBox box(u"Has Shadow:"_s);
    box.resize(113, 17);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QList<bool> seen;
    box.onChange = [&seen](FlagCheckBox& b) { seen.append(b.isChecked()); };

    box.setCheckedByProgram(true);
    box.setCheckedByProgram(false);
    box.setCheckedByProgram(false);
    QVERIFY(seen.isEmpty());

    // A click on the caption toggles too; the handler sees the new state.
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(3, 8));
    QCOMPARE(seen, QList<bool>{true});
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Space);
    QCOMPARE(seen, (QList<bool>{true, false}));
    QVERIFY(!box.isChecked());
}

void ToggleAndSpinTest::checkBoxCaptionLeftOfBox() {
    FlagCheckBox box(u"Has Flame:"_s);
    box.resize(box.sizeHint());
    const QRect indicator = box.indicatorRect();
    QCOMPARE(indicator.left(), box.fontMetrics().horizontalAdvance(box.text()) + 5);
    QCOMPARE(indicator.right(), box.width() - 1);
}

void ToggleAndSpinTest::checkBoxHandlerErrorIsReported() {
    testsupport::ReportedErrors reported;
    FlagCheckBox box(u"Has Flame:"_s);
    box.resize(113, 17);
    box.onChange = [](FlagCheckBox&) { throw std::runtime_error("Disk full"); };
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(3, 8));
    QCOMPARE(reported.count(), 1);
    QVERIFY(box.isChecked());
}

void ToggleAndSpinTest::spinBoxReadRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shownAfterRead");

    QTest::newRow("empty") << QString() << 10 << u"10"_s;
    QTest::newRow("minus between digits") << u"1-2"_s << 10 << u"10"_s;
    QTest::newRow("sign only") << u"-"_s << 10 << u"10"_s;
    QTest::newRow("below range, unclamped") << u"5"_s << 5 << u"5"_s;
    QTest::newRow("above range, unclamped") << u"2000"_s << 2000 << u"2000"_s;
    QTest::newRow("plus sign") << u"+50"_s << 50 << u"+50"_s;
    QTest::newRow("beyond int") << u"99999999999"_s << 10 << u"10"_s;
}

void ToggleAndSpinTest::spinBoxReadRules() {
    QFETCH(QString, typed);
    QFETCH(int, value);
    QFETCH(QString, shownAfterRead);
    PercentSpinBox spin;
    typeInto(spin, typed);
    QCOMPARE(spin.text(), typed);
    QCOMPARE(spin.value(), value);
    QCOMPARE(spin.text(), shownAfterRead);
}

void ToggleAndSpinTest::spinBoxSetValueClamps() {
    PercentSpinBox spin;
    QCOMPARE(spin.text(), u"10"_s);
    spin.setValue(5);
    QCOMPARE(spin.text(), u"10"_s);
    spin.setValue(2000);
    QCOMPARE(spin.text(), u"1000"_s);
    spin.setValue(250);
    QCOMPARE(spin.value(), 250);
}

void ToggleAndSpinTest::spinBoxTypedCharacters() {
    PercentSpinBox spin;
    spin.setValue(100);
    spin.findChild<QLineEdit*>()->setCursorPosition(3);
    QTest::keyClicks(&spin, u"a.x 5"_s);
    QCOMPARE(spin.text(), u"1005"_s);
    spin.findChild<QLineEdit*>()->setCursorPosition(0);
    QTest::keyClicks(&spin, u"-+"_s);
    QCOMPARE(spin.text(), u"-+1005"_s);
    QCOMPARE(spin.value(), 10); // not a decimal integer
}

void ToggleAndSpinTest::spinBoxClampsWhenFocusLeaves() {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* spin = new PercentSpinBox;
    auto* button = new QPushButton(u"Apply"_s);
    layout->addWidget(spin);
    layout->addWidget(button);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // The button's handler reads the clamped value: the focus moves before the click.
    int readByButton = 0;
    QObject::connect(button, &QPushButton::clicked, spin,
                     [&readByButton, spin] { readByButton = spin->value(); });

    spin->setFocus();
    typeInto(*spin, u"5"_s);
    QCOMPARE(spin->text(), u"5"_s); // not clamped while focused
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(spin->text(), u"10"_s);
    QCOMPARE(readByButton, 10);

    spin->setFocus();
    typeInto(*spin, u"2000"_s);
    button->setFocus();
    QCOMPARE(spin->text(), u"1000"_s);

    // A value in range is left as typed.
    spin->setFocus();
    typeInto(*spin, u"+50"_s);
    button->setFocus();
    QCOMPARE(spin->text(), u"+50"_s);
}

void ToggleAndSpinTest::spinBoxSteps() {
    PercentSpinBox spin;
    QTest::keyClick(&spin, Qt::Key_PageUp);
    QCOMPARE(spin.text(), u"20"_s);
    QTest::keyClick(&spin, Qt::Key_Up);
    QCOMPARE(spin.text(), u"21"_s);
    QTest::keyClick(&spin, Qt::Key_Down);
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(spin.text(), u"19"_s);
    QTest::keyClick(&spin, Qt::Key_PageDown);
    QCOMPARE(spin.text(), u"10"_s); // clamped at the bottom

    // A typed value above the range is stepped and clamped.
    typeInto(spin, u"2000"_s);
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(spin.text(), u"1000"_s);
    typeInto(spin, u""_s);
    QTest::keyClick(&spin, Qt::Key_Up);
    QCOMPARE(spin.text(), u"11"_s);

    const QPointF at(5, 5);
    QWheelEvent up(at, spin.mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(&spin, &up);
    QCOMPARE(spin.text(), u"12"_s);
    QWheelEvent down(at, spin.mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&spin, &down);
    QCOMPARE(spin.text(), u"11"_s);
}

void ToggleAndSpinTest::spinBoxButtonRepeats() {
    PercentSpinBox spin;
    spin.resize(73, 21);
    spin.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spin));

    QStyleOptionSpinBox option;
    option.initFrom(&spin);
    option.subControls = QStyle::SC_SpinBoxUp;
    option.buttonSymbols = spin.buttonSymbols();
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    const QRect upButton =
        spin.style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, &spin);
    QVERIFY(upButton.isValid());

    QElapsedTimer held;
    QTest::mousePress(&spin, Qt::LeftButton, {}, upButton.center());
    held.start();
    QCOMPARE(spin.text(), u"11"_s); // one step at once
    QTest::qWait(120);
    if (held.elapsed() < 200)
        QCOMPARE(spin.text(), u"11"_s); // no repeat before 210 ms
    // Then the steps come every 10 ms.
    QTRY_VERIFY_WITH_TIMEOUT(spin.text().toInt() >= 20, 5000);
    // 210 ms and nine steps of 10 ms; the default timing would need well over a second.
    QVERIFY(held.elapsed() < 1500);
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, upButton.center());
    const QString released = spin.text();
    QTest::qWait(100);
    QCOMPARE(spin.text(), released);
}

QTEST_MAIN(ToggleAndSpinTest)
#include "toggle_and_spin_test.moc"
