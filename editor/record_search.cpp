#include "editor/record_search.h"

#include "ui/controls/record_list.h"

namespace editor {

int findRow(const QStringList& rowTexts, int selected, const QString& text,
            SearchDirection direction) {
    const auto count = static_cast<int>(rowTexts.size());
    if (text.isEmpty() || count == 0)
        return -1;
    const int step = direction == SearchDirection::Forward ? 1 : -1;
    int row = selected;
    if (selected < 0 || selected >= count)
        row = direction == SearchDirection::Forward ? -1 : count;
    for (int i = 0; i < count; ++i) {
        row = (row + step + count) % count;
        for (const QString& cell : ui::splitRowText(rowTexts.at(row))) {
            if (cell.contains(text, Qt::CaseInsensitive))
                return row;
        }
    }
    return -1;
}

} // namespace editor
