#include "ui/user_action.h"

#include <utility>

namespace ui {

namespace {
ErrorReporter& installedReporter() {
    static ErrorReporter reporter;
    return reporter;
}
} // namespace

ErrorReporter setErrorReporter(ErrorReporter reporter) {
    return std::exchange(installedReporter(), std::move(reporter));
}

bool runUserAction(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const ActionCancelled&) {
        return false;
    } catch (const std::exception& error) {
        if (installedReporter())
            installedReporter()(error);
        return false;
    }
}

} // namespace ui
