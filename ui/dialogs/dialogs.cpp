#include "ui/dialogs/dialogs.h"

#include "ui/dialogs/standard_dialogs.h"

#include <utility>

namespace ui {

namespace {
Dialogs*& installedDialogs() {
    static Dialogs* dialogs = nullptr;
    return dialogs;
}
} // namespace

Dialogs& Dialogs::current() {
    if (Dialogs* dialogs = installedDialogs())
        return *dialogs;
    static StandardDialogs standard;
    return standard;
}

Dialogs* Dialogs::install(Dialogs* dialogs) {
    return std::exchange(installedDialogs(), dialogs);
}

} // namespace ui
