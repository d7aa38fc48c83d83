#pragma once
// The user's decimal separator: what a decimal edit accepts, and what the numbers the program
// shows, and reads back from the form, are written with. The one place the program asks the
// locale for it; it knows no window, so the controls and the document's flows ask it alike.

#include <QString>

#include <string>

namespace ui {

QString decimalSeparator();
/** The same as UTF-8 (it may be any character of the locale), for doc::formatFloat and
 * doc::parseFloat. */
std::string decimalSeparatorUtf8();

} // namespace ui
