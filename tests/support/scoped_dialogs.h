#pragma once
// Installs dialogs for the lifetime of a scope and puts the previous ones back.

#include "ui/dialogs/dialogs.h"

namespace ui {

class ScopedDialogs {
public:
    explicit ScopedDialogs(Dialogs& dialogs) : m_previous(Dialogs::install(&dialogs)) {}
    ~ScopedDialogs() { Dialogs::install(m_previous); }
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;

private:
    Dialogs* m_previous;
};

} // namespace ui
