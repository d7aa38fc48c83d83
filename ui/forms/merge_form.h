#pragma once
// Layout of the merge window: the summary above the list of changes, and the choices and
// "Apply Merge" below it, each bound to an empty handler.

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace ui {

class MergeForm : public QWidget {
    Q_OBJECT
public:
    explicit MergeForm(QWidget* parent = nullptr);

    QLabel* summary = nullptr;
    QTableView* changes = nullptr;
    QPushButton* useMine = nullptr;
    QPushButton* useTheirs = nullptr;
    QPushButton* keepBoth = nullptr;
    QPushButton* applyMerge = nullptr;

protected:
    virtual void useMineClicked() {}
    virtual void useTheirsClicked() {}
    virtual void keepBothClicked() {}
    virtual void applyMergeClicked() {}
};

} // namespace ui
