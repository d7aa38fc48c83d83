#pragma once
// Where a user action enters the program. Qt is built without exception
// support, so an error may never unwind through Qt's frames: every event
// override runs its work through runUserAction, and every signal (button,
// menu item, control) is bound to its handler with bindUserAction, which does
// the same. The one catch hands the error to the reporter the shell installs.
// Handlers call each other directly, so an error thrown deep inside nested
// handlers abandons the whole action.

#include <QObject>

#include <exception>
#include <functional>
#include <utility>

namespace ui {

using ErrorReporter = std::function<void(const std::exception&)>;

/** Thrown when the user cancelled a question in the middle of an action: the rest of the action
 * is abandoned as after an error, but nothing is reported. */
class ActionCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

/** Installs the application-wide reporter; returns the previous one. */
ErrorReporter setErrorReporter(ErrorReporter reporter);

/** Runs action; an exception escaping it is passed to the reporter (ActionCancelled excepted) and
 * goes no further. Returns true when the action completed without an error. */
bool runUserAction(const std::function<void()>& action);

/** Binds signal of sender to handler (no arguments) as a user action; context ends the binding
 * when it goes. */
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection bindUserAction(Sender* sender, Signal signal, const QObject* context,
                                       Handler handler) {
    return QObject::connect(sender, signal, context,
                            [handler = std::move(handler)] { runUserAction(handler); });
}

} // namespace ui
