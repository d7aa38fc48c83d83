#include "ui/forms/merge_form.h"

#include "ui/forms/form_parts.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace ui {

MergeForm::MergeForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MergeWindow"));
    resize(760, 460);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("Summary"));
    changes = rowList(this, "Changes");
    summary->setBuddy(changes);

    useMine = formButton(this, "UseMine", tr("Use &Mine"), &MergeForm::useMineClicked);
    useTheirs = formButton(this, "UseTheirs", tr("Use &Theirs"), &MergeForm::useTheirsClicked);
    keepBoth = formButton(this, "KeepBoth", tr("&Keep Both"), &MergeForm::keepBothClicked);
    applyMerge = formButton(this, "ApplyMerge", tr("&Apply Merge"), &MergeForm::applyMergeClicked);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {useMine, useTheirs, keepBoth})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(applyMerge);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(changes, 1);
    layout->addLayout(buttons);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

} // namespace ui
