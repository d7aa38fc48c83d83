#include "editor/history.h"

#include <utility>

namespace editor {

namespace {
bool samePercentages(const PercentageChange& change) {
    return change.before.damage == change.after.damage && change.before.size == change.after.size;
}
} // namespace

TableChange TableChange::between(const doc::ObjectTable& before, const doc::ObjectTable& after) {
    TableChange change;
    change.m_lastIndex[0] = before.lastIndex;
    change.m_lastIndex[1] = after.lastIndex;
    for (std::size_t i = 0; i < before.records.size(); ++i) {
        if (before.records[i] != after.records[i] || before.names[i] != after.names[i])
            change.m_entries.push_back({static_cast<std::uint16_t>(i),
                                        {before.records[i], after.records[i]},
                                        {before.names[i], after.names[i]}});
    }
    return change;
}

bool TableChange::isEmpty() const {
    return m_entries.empty() && m_lastIndex[0] == m_lastIndex[1];
}

void TableChange::undo(doc::ObjectTable& table) const {
    for (const Entry& entry : m_entries) {
        table.records[entry.index] = entry.record[0];
        table.names[entry.index] = entry.name[0];
    }
    table.lastIndex = m_lastIndex[0];
}

void TableChange::redo(doc::ObjectTable& table) const {
    for (const Entry& entry : m_entries) {
        table.records[entry.index] = entry.record[1];
        table.names[entry.index] = entry.name[1];
    }
    table.lastIndex = m_lastIndex[1];
}

void History::reset() {
    m_done.clear();
    m_undone.clear();
    m_open.reset();
}

void History::begin(const doc::ObjectTable& table, const QString& name, int row) {
    end(table);
    m_open = HistoryStep{name, row, {}, std::nullopt};
    m_base = table;
}

void History::setPercentages(const PercentageChange& percentages) {
    if (m_open)
        m_open->percentages = percentages;
}

void History::end(const doc::ObjectTable& table) {
    if (!m_open)
        return;
    HistoryStep step = std::move(*m_open);
    m_open.reset();
    step.table = TableChange::between(m_base, table);
    if (step.percentages && samePercentages(*step.percentages))
        step.percentages.reset();
    if (step.table.isEmpty() && !step.percentages)
        return;
    m_undone.clear();
    m_done.push_back(std::move(step));
}

bool History::openStepChanged(const doc::ObjectTable& table) const {
    if (!m_open)
        return false;
    return table.lastIndex != m_base.lastIndex || table.records != m_base.records ||
           table.names != m_base.names ||
           (m_open->percentages && !samePercentages(*m_open->percentages));
}

QString History::undoName(const doc::ObjectTable& table) const {
    if (openStepChanged(table))
        return m_open->name;
    return m_done.empty() ? QString() : m_done.back().name;
}

QString History::redoName(const doc::ObjectTable& table) const {
    if (m_undone.empty() || openStepChanged(table))
        return QString();
    return m_undone.back().name;
}

const HistoryStep* History::nextUndo() const {
    return m_done.empty() ? nullptr : &m_done.back();
}

const HistoryStep* History::nextRedo() const {
    return m_undone.empty() ? nullptr : &m_undone.back();
}

const HistoryStep& History::undo(doc::ObjectTable& table) {
    m_undone.push_back(std::move(m_done.back()));
    m_done.pop_back();
    const HistoryStep& step = m_undone.back();
    step.table.undo(table);
    return step;
}

const HistoryStep& History::redo(doc::ObjectTable& table) {
    m_done.push_back(std::move(m_undone.back()));
    m_undone.pop_back();
    const HistoryStep& step = m_done.back();
    step.table.redo(table);
    return step;
}

} // namespace editor
