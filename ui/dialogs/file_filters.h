#pragma once
// File-type filters written the way the open dialog is configured
// ("description|patterns|description|patterns..."), turned into Qt's form.

#include <QString>
#include <QStringList>

namespace ui {

/** "OBJDAT|obj*.dat|All Files|*.*" -> {"OBJDAT (obj*.dat)", "All Files (*)"}. Patterns
 * separated by ";" become blank-separated, "*.*" matches every file, and a trailing
 * description without patterns is dropped. */
QStringList fileDialogFilters(const QString& barSeparated);

} // namespace ui
