#include "views/merge_model.h"

#include "document/field_table.h"
#include "editor/record_texts.h"
#include "tabletext/value_text.h"

#include <QApplication>
#include <QFont>
#include <QStyle>

#include <algorithm>
#include <array>

namespace views {

namespace {

QString stateText(doc::MergeState state) {
    switch (state) {
    case doc::MergeState::Mine:
        return QStringLiteral("Mine");
    case doc::MergeState::Theirs:
        return QStringLiteral("Theirs");
    case doc::MergeState::Both:
        return QStringLiteral("Both");
    case doc::MergeState::Conflict:
        break;
    }
    return QStringLiteral("Conflict");
}

QString choiceText(doc::MergeChoice choice) {
    switch (choice) {
    case doc::MergeChoice::Mine:
        return QStringLiteral("Mine");
    case doc::MergeChoice::Theirs:
        return QStringLiteral("Theirs");
    case doc::MergeChoice::KeepBoth:
        return QStringLiteral("Keep Both");
    case doc::MergeChoice::None:
        break;
    }
    return QString();
}

/** The part as the export's columns name it; an appended record as such. */
QString partText(doc::CellPart part) {
    if (part.isWholeRecord())
        return QStringLiteral("added record");
    return QString::fromLatin1(doc::columnName(part));
}

bool isConflict(const doc::MergeChange& change) {
    return change.state == doc::MergeState::Conflict;
}

} // namespace

MergeModel::MergeModel(QObject* parent) : QAbstractTableModel(parent) {}

void MergeModel::setPlan(doc::MergePlan plan) {
    std::vector<std::size_t> order(plan.changes.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_partition(order.begin(), order.end(),
                          [&plan](std::size_t i) { return isConflict(plan.changes[i]); });
    const auto sameCell = [&](std::size_t row) {
        const doc::MergeChange& now = plan.changes[order[row]];
        const doc::MergeChange& was = m_plan.changes[m_order[row]];
        return now.cell == was.cell;
    };
    bool same = order.size() == m_order.size();
    for (std::size_t row = 0; same && row < order.size(); ++row)
        same = sameCell(row);
    m_conflicts =
        static_cast<int>(std::count_if(plan.changes.begin(), plan.changes.end(), isConflict));
    if (same) {
        m_plan = std::move(plan);
        m_order = std::move(order);
        if (!m_order.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    m_plan = std::move(plan);
    m_order = std::move(order);
    endResetModel();
}

const doc::MergeChange& MergeModel::changeAt(int row) const {
    return m_plan.changes[m_order[static_cast<std::size_t>(row)]];
}

int MergeModel::rowOf(doc::Cell cell) const {
    for (int row = 0; row < rowCount(); ++row)
        if (changeAt(row).cell == cell)
            return row;
    return -1;
}

bool MergeModel::setChoice(int row, doc::MergeChoice choice) {
    doc::MergeChange& change = m_plan.changes[m_order[static_cast<std::size_t>(row)]];
    if (!doc::allowsChoice(change, choice))
        return false;
    if (change.choice != choice) {
        change.choice = choice;
        emit dataChanged(index(row, StateColumn), index(row, ChoiceColumn));
    }
    return true;
}

int MergeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int MergeModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString MergeModel::valueText(const doc::MergeChange& change, int side) const {
    const auto s = static_cast<std::size_t>(side);
    const doc::CellPart part = change.cell.part;
    if (part.isWholeRecord())
        return change.has[s] ? editor::nameText(change.names[s]) : QString();
    if (part.isName())
        return editor::nameText(change.names[s]);
    return QString::fromStdString(tabletext::fieldValueText(part.field(), change.bits[s]));
}

QVariant MergeModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const doc::MergeChange& change = changeAt(index.row());
    const bool conflict = isConflict(change);
    if (conflict && role == Qt::FontRole) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (conflict && role == Qt::DecorationRole && index.column() == StateColumn)
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    if (role == Qt::AccessibleTextRole && index.column() == StateColumn && conflict) {
        const QString choice = choiceText(change.choice);
        return choice.isEmpty() ? QStringLiteral("Conflict, no choice yet")
                                : QStringLiteral("Conflict, chosen: ") + choice;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case RecordColumn:
        return change.cell.record;
    case CellColumn:
        return partText(change.cell.part);
    case StateColumn:
        return stateText(change.state);
    case BaseColumn:
        return valueText(change, doc::kBase);
    case MineColumn:
        return valueText(change, doc::kMine);
    case TheirsColumn:
        return valueText(change, doc::kTheirs);
    case ChoiceColumn:
        return choiceText(change.choice);
    default:
        return {};
    }
}

QVariant MergeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const std::array<QString, ColumnCount> titles = {
        QStringLiteral("Record"), QStringLiteral("Field"), QStringLiteral("Changed in"),
        QStringLiteral("Base"),   QStringLiteral("Mine"),  QStringLiteral("Theirs"),
        QStringLiteral("Choice")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return titles[static_cast<std::size_t>(section)];
}

} // namespace views
