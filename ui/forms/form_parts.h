#pragma once
// Pieces the windows' layouts share: a read-only list of whole rows, and a push button bound to
// a handler of its form.

#include "ui/user_action.h"

#include <QPushButton>

class QTableView;

namespace ui {

/** A table view named name of whole rows, several selectable, read only, without row numbers,
 * every row one line high, so a list of thousands of rows lays out without measuring them. */
QTableView* rowList(QWidget* parent, const char* name);

/** A push button named name that is never a default button; a click runs handler of form as a
 * user action. */
template <typename Form>
QPushButton* formButton(Form* form, const char* name, const QString& caption,
                        void (Form::*handler)()) {
    auto* button = new QPushButton(caption, form);
    button->setObjectName(QLatin1StringView(name));
    button->setAutoDefault(false);
    bindUserAction(button, &QPushButton::clicked, form, [form, handler] { (form->*handler)(); });
    return button;
}

} // namespace ui
