#include "ui/forms/form_parts.h"

#include <QHeaderView>
#include <QTableView>

namespace ui {

QTableView* rowList(QWidget* parent, const char* name) {
    auto* list = new QTableView(parent);
    list->setObjectName(QLatin1StringView(name));
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->horizontalHeader()->setStretchLastSection(true);
    return list;
}

} // namespace ui
