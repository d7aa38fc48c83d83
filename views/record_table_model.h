#pragma once
// The open document's object table as an item model: a row per record, the columns index,
// name and the 25 fields under their export names, each cell the export's exact text. It
// follows the table through Document's listeners (a record's change updates its row only) and
// writes a cell's edit back through Document::applyTable, one undo step.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

namespace editor {
class Document;
}

namespace views {

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /** The role a view sorts by: numbers as numbers (floats in their order by value, NaN last),
     * names as text. */
    static constexpr int kSortRole = Qt::UserRole + 1;
    static constexpr int kIndexColumn = 0;
    static constexpr int kNameColumn = 1;
    static constexpr int kFirstFieldColumn = 2;

    explicit RecordTableModel(editor::Document& document, QObject* parent = nullptr);
    ~RecordTableModel() override;

    /** The tabletext column (a field, tabletext::kIndexColumn or kNameColumn) of a model
     * column. */
    static int tableColumn(int modelColumn);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /** A cell's text read by the import's rules and put in as one undo step; a text it refuses
     * is reported with the import's reason (through the application's error path) and nothing
     * changes. */
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void tableChanged(int row);

    editor::Document& m_document;
    int m_listenerKey;
    int m_rows = 0; // the rows the views were last told of
};

/** Sorting by kSortRole, filtering on every column's text, case-insensitive. */
class RecordTableProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit RecordTableProxy(QObject* parent = nullptr);
};

} // namespace views
