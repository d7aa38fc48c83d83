#pragma once
// Which characters the names file can hold: the printable characters of
// Windows-1252. The ui layer keeps its own small table so that it does not
// depend on the document layer.

#include <QChar>
#include <QString>

namespace ui {

/** True for a character of code 32 or above that Windows-1252 can hold (DEL and the C1 control
 * characters are refused). */
bool isPrintableWindows1252(QChar c);

/** True when every character of text passes isPrintableWindows1252. */
bool isPrintableWindows1252(const QString& text);

} // namespace ui
