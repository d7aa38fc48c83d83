#pragma once
// The rows of the comparison window: one per differing cell (the name, then
// each field in record order) of the records both tables have, and one per
// record only one of them has; with every record shown, every cell of every
// record both have. Columns: the record, the cell (by its export name), this
// table's value and the other's, in the forms of the export. It compares through
// doc::compareTables, as `cvnobj diff` does.

#include "document/cell.h"
#include "document/object_table.h"
#include "document/table_comparison.h"

#include <QAbstractTableModel>

#include <vector>

namespace views {

class ComparisonModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { RecordColumn, CellColumn, ThisColumn, OtherColumn, ColumnCount };

    /** A cell (the name or a field) of a record both tables have, or the record whole for a
     * record only one has. */
    struct Row {
        doc::Cell cell;
        bool differs = false;
        bool operator==(const Row&) const = default;
    };

    explicit ComparisonModel(QObject* parent = nullptr);

    /** Compares mine with other again; both must stay as they are until the next compare. Rows
     * that stay keep their place (only their texts are told changed); otherwise the model is
     * reset. */
    void compare(const doc::ObjectTable& mine, const doc::TableRows& other);
    /** Every cell of every record, or only the differing ones. */
    void setShowAll(bool showAll);
    bool showsAll() const { return m_showAll; }

    const Row& rowAt(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    /** The row of a cell (or of a record one table has), or -1. */
    int rowOf(doc::Cell cell) const;
    /** Records that differ: one table has them, or a cell differs. */
    int differingRecords() const { return m_differingRecords; }
    /** Records the other table has that differ: what a take of every difference takes. */
    int takableRecords() const { return m_takableRecords; }
    /** Whether a record differs: one table has it, or a cell differs. */
    bool recordDiffers(int record) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<Row> rowsOf(const std::vector<doc::RecordComparison>& comparison) const;
    QString valueText(bool mine, const Row& row) const;

    const doc::ObjectTable* m_mine = nullptr;
    doc::TableRows m_other;
    std::vector<doc::RecordComparison> m_comparison;
    std::vector<Row> m_rows;
    bool m_showAll = false;
    int m_differingRecords = 0;
    int m_takableRecords = 0;
};

} // namespace views
