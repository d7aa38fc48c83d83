#pragma once
// Layout of the notes window: the rich-text area and its "Save" and "Font" menu.

#include <QMainWindow>

class QAction;
class QTextEdit;

namespace ui {

class NotesForm : public QMainWindow {
    Q_OBJECT
public:
    explicit NotesForm(QWidget* parent = nullptr);

    QAction* Save1 = nullptr;
    QAction* Font1 = nullptr;
    QTextEdit* RichEdit1 = nullptr;

protected:
    virtual void Save1Click() {}
    virtual void Font1Click() {}
    virtual void FontDlg1Apply() {}
};

} // namespace ui
