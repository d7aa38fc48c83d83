#include "ui/forms/compare_form.h"

#include "ui/forms/form_parts.h"
#include "ui/user_action.h"

#include <QCheckBox>
#include <QHBoxLayout>
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
    differences = rowList(this, "Differences"); // all 13 312 cells with "Show all records"
    summary->setBuddy(differences);

    showAll = new QCheckBox(tr("Sh&ow all records"), this);
    showAll->setObjectName(QStringLiteral("ShowAll"));
    takeCell = formButton(this, "TakeCell", tr("Take &Cell"), &CompareForm::takeCellClicked);
    takeSelected = formButton(this, "TakeSelected", tr("Take &Selected Cells"),
                              &CompareForm::takeSelectedClicked);
    takeRecord =
        formButton(this, "TakeRecord", tr("Take &Record"), &CompareForm::takeRecordClicked);
    takeAll =
        formButton(this, "TakeAll", tr("Take &All Differences"), &CompareForm::takeAllClicked);
    reload = formButton(this, "Reload", tr("Re&load"), &CompareForm::reloadClicked);
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
