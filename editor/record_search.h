#pragma once
// "Find Record...": which row of the record list holds a text, searched from
// the selected row on in either direction and wrapping at the ends.

#include <QStringList>

namespace editor {

enum class SearchDirection { Forward, Backward };

/** The first row after selected (before it, backward) whose cells as the list shows them (index,
 * class, type, name) contain text, ignoring case; the search wraps at the ends and meets the
 * selected row last. With no row selected (-1) it starts at the first row (the last, backward).
 * Returns -1 when no row holds text. */
int findRow(const QStringList& rowTexts, int selected, const QString& text,
            SearchDirection direction);

} // namespace editor
