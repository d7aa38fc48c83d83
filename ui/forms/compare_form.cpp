#include "ui/forms/compare_form.h"

#include "ui/user_action.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace ui {

CompareForm::CompareForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("CompareWindow"));
    resize(620, 440);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("Summary"));
    differences = new QTableView(this);
    differences->setObjectName(QStringLiteral("Differences"));
    differences->setSelectionBehavior(QAbstractItemView::SelectRows);
    differences->setSelectionMode(QAbstractItemView::ExtendedSelection);
    differences->setEditTriggers(QAbstractItemView::NoEditTriggers);
    differences->setWordWrap(false);
    differences->verticalHeader()->hide();
    // Every row one line high, so a list of all 13 312 cells lays out without measuring them.
    differences->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    differences->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    differences->horizontalHeader()->setStretchLastSection(true);
    summary->setBuddy(differences);

    showAll = new QCheckBox(tr("Sh&ow all records"), this);
    showAll->setObjectName(QStringLiteral("ShowAll"));
    const auto button = [this](const char* name, const QString& caption,
                               void (CompareForm::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1StringView(name));
        b->setAutoDefault(false);
        bindUserAction(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        return b;
    };
    takeCell = button("TakeCell", tr("Take &Cell"), &CompareForm::takeCellClicked);
    takeSelected =
        button("TakeSelected", tr("Take &Selected Cells"), &CompareForm::takeSelectedClicked);
    takeRecord = button("TakeRecord", tr("Take &Record"), &CompareForm::takeRecordClicked);
    takeAll = button("TakeAll", tr("Take &All Differences"), &CompareForm::takeAllClicked);
    reload = button("Reload", tr("Re&load"), &CompareForm::reloadClicked);
    bindUserAction(showAll, &QCheckBox::toggled, this, [this] { showAllToggled(); });

    auto* takes = new QHBoxLayout;
    for (QPushButton* b : {takeCell, takeSelected, takeRecord, takeAll})
        takes->addWidget(b);
    takes->addStretch();
    auto* options = new QHBoxLayout;
    options->addWidget(showAll);
    options->addStretch();
    options->addWidget(reload);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(differences, 1);
    layout->addLayout(options);
    layout->addLayout(takes);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

} // namespace ui
