#pragma once
// The rows of the merge window: one per change of either side (doc::planMerge), conflicts
// first, each group in the plan's order (by record, the name, the fields, an appended record).
// Columns: the record, the cell by its export name, the state, BASE's, MINE's and THEIRS's
// values in the forms of the export, and the choice. A conflict is marked by its text, a bold
// face and a warning sign, and its state is read out with its choice ("Conflict, no choice
// yet").

#include "document/three_way_merge.h"

#include <QAbstractTableModel>

#include <vector>

namespace views {

class MergeModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        RecordColumn,
        CellColumn,
        StateColumn,
        BaseColumn,
        MineColumn,
        TheirsColumn,
        ChoiceColumn,
        ColumnCount
    };

    explicit MergeModel(QObject* parent = nullptr);

    /** The rows of plan's changes. When they are the same cells in the same order, the rows stay
     * (only their texts are told changed); otherwise the model is reset. */
    void setPlan(doc::MergePlan plan);
    const doc::MergePlan& plan() const { return m_plan; }

    const doc::MergeChange& changeAt(int row) const;
    /** The row of a change's cell, or -1. */
    int rowOf(doc::Cell cell) const;
    /** Sets row's choice when its change allows it (doc::allowsChoice); returns whether it did. */
    bool setChoice(int row, doc::MergeChoice choice);
    /** Changes that are conflicts, with or without a choice. */
    int conflicts() const { return m_conflicts; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString valueText(const doc::MergeChange& change, int side) const;

    doc::MergePlan m_plan;
    /** Each row's change in m_plan.changes. */
    std::vector<std::size_t> m_order;
    int m_conflicts = 0;
};

} // namespace views
