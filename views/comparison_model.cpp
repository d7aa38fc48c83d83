#include "views/comparison_model.h"

#include "document/field_table.h"
#include "editor/record_texts.h"
#include "tabletext/value_text.h"

#include <QFont>

#include <algorithm>

namespace views {

ComparisonModel::ComparisonModel(QObject* parent) : QAbstractTableModel(parent) {}

void ComparisonModel::compare(const doc::ObjectTable& mine, const doc::TableRows& other) {
    m_mine = &mine;
    m_other = other;
    m_comparison = doc::compareTables(doc::TableRows::of(mine), other);
    m_differingRecords = 0;
    m_takableRecords = 0;
    for (const doc::RecordComparison& record : m_comparison) {
        m_differingRecords += record.differs() ? 1 : 0;
        m_takableRecords += record.inSecond && record.differs() ? 1 : 0;
    }
    std::vector<Row> rows = rowsOf(m_comparison);
    if (rows.size() == m_rows.size() &&
        std::equal(rows.begin(), rows.end(), m_rows.begin(),
                   [](const Row& a, const Row& b) { return a.cell == b.cell; })) {
        m_rows = std::move(rows);
        if (!m_rows.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ComparisonModel::setShowAll(bool showAll) {
    if (showAll == m_showAll)
        return;
    m_showAll = showAll;
    beginResetModel();
    m_rows = rowsOf(m_comparison);
    endResetModel();
}

std::vector<ComparisonModel::Row>
ComparisonModel::rowsOf(const std::vector<doc::RecordComparison>& comparison) const {
    std::vector<Row> rows;
    rows.reserve(m_showAll ? comparison.size() * (doc::kFieldCount + 1) : comparison.size());
    for (const doc::RecordComparison& record : comparison) {
        if (!record.inBoth()) {
            rows.push_back({{record.index, doc::CellPart::wholeRecord()}, true});
            continue;
        }
        if (m_showAll || record.nameDiffers)
            rows.push_back({{record.index, doc::CellPart::name()}, record.nameDiffers});
        for (int k = 0; k < doc::kFieldCount; ++k) {
            const bool differs = record.fieldDiffers[static_cast<std::size_t>(k)];
            if (m_showAll || differs)
                rows.push_back({{record.index, doc::CellPart::field(k)}, differs});
        }
    }
    return rows;
}

int ComparisonModel::rowOf(doc::Cell cell) const {
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [&](const Row& row) { return row.cell == cell; });
    return found == m_rows.end() ? -1 : static_cast<int>(found - m_rows.begin());
}

bool ComparisonModel::recordDiffers(int record) const {
    return record >= 0 && record < static_cast<int>(m_comparison.size()) &&
           m_comparison[static_cast<std::size_t>(record)].differs();
}

int ComparisonModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ComparisonModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString ComparisonModel::valueText(bool mine, const Row& row) const {
    const int record = row.cell.record;
    const auto r = static_cast<std::size_t>(record);
    const bool held = mine ? record < m_mine->recordCount() : record < m_other.count();
    if (!held)
        return QString();
    const doc::NameSlot& slot = mine ? m_mine->names[r] : m_other.names[r];
    if (!row.cell.part.isField())
        return editor::nameText(slot);
    const int field = row.cell.part.field();
    const auto k = static_cast<std::size_t>(field);
    const std::uint32_t bits = mine ? m_mine->records[r].fields[k] : m_other.records[r].fields[k];
    return QString::fromStdString(tabletext::fieldValueText(field, bits));
}

QVariant ComparisonModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Row& row = rowAt(index.row());
    if (role == Qt::FontRole && m_showAll && row.differs) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case RecordColumn:
        return row.cell.record;
    case CellColumn:
        if (!row.cell.part.isWholeRecord())
            return QString::fromLatin1(doc::columnName(row.cell.part));
        return row.cell.record < m_mine->recordCount() ? QStringLiteral("Only in this file")
                                                       : QStringLiteral("Only in the other file");
    case ThisColumn:
        return valueText(true, row);
    case OtherColumn:
        return valueText(false, row);
    default:
        return {};
    }
}

QVariant ComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case RecordColumn:
        return QStringLiteral("Record");
    case CellColumn:
        return QStringLiteral("Field");
    case ThisColumn:
        return QStringLiteral("This file");
    case OtherColumn:
        return QStringLiteral("Other file");
    default:
        return {};
    }
}

} // namespace views
