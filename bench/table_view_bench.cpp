// The table view at 512 records: opening the window (model, proxy, first layout and paint), a
// "Multiply by" of every float cell of every record through the real window, and the form's
// keystroke with the view open (a write-back updates one row of the view). Each figure is the
// median of several runs, reported beside the keystroke without the view as its floor; nothing
// fails on time.

#include "document/field_table.h"
#include "tests/support/views_fixture.h"
#include "views/table_window.h"

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double milliseconds(const std::function<void()>& run) {
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

testsupport::DataFile fullFile() {
    testsupport::DataFile file;
    file.records = testsupport::sampleRecords(doc::kTableCapacity);
    return file;
}

/** Keystrokes in "Damage:" of record 300, a digit then Backspace, each timed. */
double keystrokeMedian(EditorFixture& f, int count) {
    f.window().LMDLB1->setSelectedIndex(300);
    f.window().LMDLB1Click();
    QApplication::setActiveWindow(&f.window());
    QTest::mouseClick(f.window().ME5, Qt::LeftButton, {}, f.window().ME5->rect().center());
    f.window().ME5->end(false);
    QCoreApplication::processEvents();
    const int digits = static_cast<int>(f.window().ME5->text().size());
    std::vector<double> samples;
    for (int i = 0; i < count + 1; ++i)
        samples.push_back(milliseconds([&] {
            QTest::keyClick(f.window().ME5, f.window().ME5->text().size() == digits
                                                ? Qt::Key_7
                                                : Qt::Key_Backspace);
            QCoreApplication::processEvents();
        }));
    // A keystroke that did not reach the edit would measure nothing.
    if (f.window().ME5->text().size() == digits)
        std::printf("warning: the keystrokes did not reach \"Damage:\"\n");
    return median(samples);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<doc::NameSlot> names = testsupport::numberedNames(doc::kTableCapacity);

    std::vector<double> opens, multiplies;
    double floor = 0, withView = 0;
    for (int run = 0; run < 5; ++run) {
        ViewsFixture f(fullFile(), names);
        if (run == 0)
            floor = keystrokeMedian(f, 200);
        opens.push_back(milliseconds([&] {
            f.window().TableView1->trigger();
            QCoreApplication::processEvents();
        }));
        views::TableWindow* view = f.views().tableWindow();
        QTableView* grid = view->grid;
        QItemSelection floats;
        for (const int k : doc::kSizeFields)
            floats.select(grid->model()->index(0, 2 + k),
                          grid->model()->index(grid->model()->rowCount() - 1, 2 + k));
        grid->selectionModel()->select(floats, QItemSelectionModel::ClearAndSelect);
        f.dialogs().queueText(QStringLiteral("1.2"));
        multiplies.push_back(milliseconds([&] {
            view->multiplyBy->trigger();
            QCoreApplication::processEvents();
        }));
        if (run == 0)
            withView = keystrokeMedian(f, 200);
    }
    std::printf("open the table view, 512 records:        %8.2f ms (median of %zu; aim < 50)\n",
                median(opens), opens.size());
    std::printf("Multiply every float cell, 512 records:  %8.2f ms (median of %zu; aim < 20)\n",
                median(multiplies), multiplies.size());
    std::printf("form keystroke, view closed:             %8.3f ms (median of 200)\n", floor);
    std::printf("form keystroke, view open:               %8.3f ms (median of 200; aim < 0.5)\n",
                withView);
    std::printf("ratio open/closed:                       %8.2f\n", withView / floor);
    return 0;
}
