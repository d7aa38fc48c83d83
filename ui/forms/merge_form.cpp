#include "ui/forms/merge_form.h"

#include "ui/user_action.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace ui {

MergeForm::MergeForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("MergeWindow"));
    resize(760, 460);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("Summary"));
    changes = new QTableView(this);
    changes->setObjectName(QStringLiteral("Changes"));
    changes->setSelectionBehavior(QAbstractItemView::SelectRows);
    changes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    changes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    changes->setWordWrap(false);
    changes->verticalHeader()->hide();
    // Every row one line high, so a list of every change of 512 records lays out without
    // measuring them.
    changes->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    changes->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    changes->horizontalHeader()->setStretchLastSection(true);
    summary->setBuddy(changes);

    const auto button = [this](const char* name, const QString& caption,
                               void (MergeForm::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1StringView(name));
        b->setAutoDefault(false);
        bindUserAction(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        return b;
    };
    useMine = button("UseMine", tr("Use &Mine"), &MergeForm::useMineClicked);
    useTheirs = button("UseTheirs", tr("Use &Theirs"), &MergeForm::useTheirsClicked);
    keepBoth = button("KeepBoth", tr("&Keep Both"), &MergeForm::keepBothClicked);
    applyMerge = button("ApplyMerge", tr("&Apply Merge"), &MergeForm::applyMergeClicked);

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
