#pragma once
// Layout of the start window: the warning text and its one button.

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace ui {

class StartForm : public QWidget {
    Q_OBJECT
public:
    explicit StartForm(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button5 = nullptr;

protected:
    virtual void Button5Click() {}
};

} // namespace ui
