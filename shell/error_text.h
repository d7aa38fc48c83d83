#pragma once
// The application-wide error report: the text of the error box, and the
// reporter the shell installs with ui::setErrorReporter.

#include <QString>

#include <exception>

namespace shell {

/** The message as the error box shows it: a full stop is appended when the last
 * character sorts after "."; an empty message stays empty. */
QString errorBoxText(const QString& message);

/** Shows the error's message (UTF-8) in the error box over the active window. */
void reportError(const std::exception& error);

} // namespace shell
