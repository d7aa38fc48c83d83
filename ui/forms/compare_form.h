#pragma once
// Layout of the comparison window: the summary above the list of differences, "Show all
// records" and "Reload" below it, and the takes, each bound to an empty handler.

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace ui {

class CompareForm : public QWidget {
    Q_OBJECT
public:
    explicit CompareForm(QWidget* parent = nullptr);

    QLabel* summary = nullptr;
    QTableView* differences = nullptr;
    QCheckBox* showAll = nullptr; // "Show all records"
    QPushButton* takeCell = nullptr;
    QPushButton* takeSelected = nullptr;
    QPushButton* takeRecord = nullptr;
    QPushButton* takeAll = nullptr;
    QPushButton* reload = nullptr;

protected:
    virtual void takeCellClicked() {}
    virtual void takeSelectedClicked() {}
    virtual void takeRecordClicked() {}
    virtual void takeAllClicked() {}
    virtual void reloadClicked() {}
    virtual void showAllToggled() {}
};

} // namespace ui
