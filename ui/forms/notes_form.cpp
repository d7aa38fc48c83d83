#include "ui/forms/notes_form.h"

#include "ui/artwork/artwork.h"
#include "ui/artwork/fonts.h"
#include "ui/user_action.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTextEdit>

namespace ui {

NotesForm::NotesForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("Corvane Object Editor Notebook"));
    setWindowIcon(artwork::windowIcon());
    setFont(fonts::msSansSerif(11));

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    Save1 = bar->addAction(tr("Save"));
    Save1->setObjectName(QStringLiteral("Save1"));
    bindUserAction(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    Font1 = bar->addAction(tr("Font"));
    Font1->setObjectName(QStringLiteral("Font1"));
    bindUserAction(Font1, &QAction::triggered, this, [this] { Font1Click(); });

    RichEdit1 = new QTextEdit;
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichEdit1->setAccessibleName(windowTitle());
    setCentralWidget(RichEdit1);

    // Client area 448 x 184 below the menu bar; the border stays sizeable.
    resize(448, 184 + bar->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace ui
