#pragma once
// The open document's object table as an item model: a row per record, the columns index,
// name and the 25 fields under their export names, each cell the export's exact text. It
// follows the table through Document's listeners (a record's change updates its row only) and
// writes a cell's edit back through Document::applyTable, one undo step.

#include "document/cell.h"

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

    explicit RecordTableModel(editor::Document& document, QObject* parent = nullptr);
    ~RecordTableModel() override;

    /** The part of a record a model column shows: the index (the record whole), the name,
     * then the fields in record order. */
    static constexpr doc::CellPart partOf(int modelColumn) {
        return modelColumn == 0   ? doc::CellPart::wholeRecord()
               : modelColumn == 1 ? doc::CellPart::name()
                                  : doc::CellPart::field(modelColumn - 2);
    }
    /** The model column that shows a part. */
    static constexpr int columnOf(doc::CellPart part) {
        return part.isWholeRecord() ? 0 : part.isName() ? 1 : part.field() + 2;
    }

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
