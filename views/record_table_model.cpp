#include "views/record_table_model.h"

#include "document/field_table.h"
#include "editor/document.h"
#include "tabletext/cell_edits.h"
#include "ui/user_action.h"

#include <bit>

namespace views {

namespace {

constexpr int kColumns = doc::CellPart::kCount;

/** A float's bits as a key in the order of their values: -0 and 0 together, NaN after all. */
qint64 floatKey(std::uint32_t bits) {
    const std::uint32_t magnitude = bits & 0x7FFFFFFFu;
    if (magnitude > 0x7F800000u)
        return qint64{1} << 40;
    return (bits & 0x80000000u) != 0 ? -qint64{magnitude} : qint64{magnitude};
}

} // namespace

RecordTableModel::RecordTableModel(editor::Document& document, QObject* parent)
    : QAbstractTableModel(parent), m_document(document),
      m_listenerKey(document.addTableListener([this](int row) { tableChanged(row); })) {
    m_rows = document.isOpen() ? document.table().recordCount() : 0;
}

RecordTableModel::~RecordTableModel() {
    m_document.removeTableListener(m_listenerKey);
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const doc::ObjectTable& table = m_document.table();
    const doc::CellPart part = partOf(index.column());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(tabletext::cellText(table, {index.row(), part}));
    if (role == kSortRole) {
        if (part.isWholeRecord())
            return index.row();
        if (part.isName())
            return QString::fromStdString(tabletext::cellText(table, {index.row(), part}));
        const std::uint32_t bits = table.records[static_cast<std::size_t>(index.row())]
                                       .fields[static_cast<std::size_t>(part.field())];
        if (doc::kFields[static_cast<std::size_t>(part.field())].type == doc::FieldType::Float)
            return floatKey(bits);
        return qint64{bits};
    }
    if (role == Qt::TextAlignmentRole && !part.isName())
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section;
    const std::string_view name = doc::columnName(partOf(section));
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return partOf(index.column()).isWholeRecord() ? flags : flags | Qt::ItemIsEditable;
}

bool RecordTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || partOf(index.column()).isWholeRecord() ||
        index.row() >= m_rows)
        return false;
    const doc::Cell cell{index.row(), partOf(index.column())};
    const std::string text = value.toString().toStdString();
    // An edit that leaves the text as shown changes nothing, and takes no undo step.
    if (text == tabletext::cellText(m_document.table(), cell))
        return true;
    // Entered from the view's delegate, inside Qt: errors end here, reported.
    return ui::runUserAction([&] {
        const editor::Document::Command command(m_document);
        const tabletext::CellEditPlan plan = tabletext::planCellText(m_document.table(), cell, text);
        plan.refusal.throwIfRefused();
        m_document.applyTable(plan.result, QString::fromStdString(doc::stepName(cell)),
                              cell.record);
    });
}

void RecordTableModel::tableChanged(int row) {
    const int rows = m_document.isOpen() ? m_document.table().recordCount() : 0;
    if (row != editor::Document::kAllRows && row < m_rows) {
        emit dataChanged(index(row, 0), index(row, kColumns - 1));
        return;
    }
    // Rows added or gone at the end; the rest keep their place (and the views their selection).
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, kColumns - 1));
}

RecordTableProxy::RecordTableProxy(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(RecordTableModel::kSortRole);
    setFilterKeyColumn(-1);
    setFilterCaseSensitivity(Qt::CaseInsensitive);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

} // namespace views
