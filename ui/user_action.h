#pragma once
// Where a user action enters the program. Qt is built without exception
// support, so an error may never unwind through Qt's frames: every event
// override and every slot that starts one of our handlers runs it through
// runUserAction, which catches the error and hands it to the one reporter the
// shell installs. Handlers call each other directly, so an error thrown deep
// inside nested handlers abandons the whole action.

#include <exception>
#include <functional>

namespace ui {

using ErrorReporter = std::function<void(const std::exception&)>;

/** Installs the application-wide reporter; returns the previous one. */
ErrorReporter setErrorReporter(ErrorReporter reporter);

/** Runs action; an exception escaping it is passed to the reporter and goes no further.
 * Returns true when the action completed without an error. */
bool runUserAction(const std::function<void()>& action);

} // namespace ui
