#include "ui/forms/start_form.h"

#include "ui/artwork/artwork.h"
#include "ui/artwork/fonts.h"
#include "ui/user_action.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

namespace ui {

namespace {
constexpr Qt::WindowFlags kSystemMenuOnly = Qt::Window | Qt::CustomizeWindowHint |
                                            Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                            Qt::WindowCloseButtonHint;
} // namespace

StartForm::StartForm(QWidget* parent) : QWidget(parent, kSystemMenuOnly) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("Corvane OBJDAT File Editor 3.0"));
    setWindowIcon(artwork::windowIcon());
    setFixedSize(370, 192);
    // The window sets no font of its own: it takes the toolkit's default, which for this program
    // has always been the small sans serif of the other windows.
    setFont(fonts::msSansSerif(11));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 0, 353, 153);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setTabChangesFocus(true);
    // The trailing blanks of lines 3 and 5 are part of the text.
    const QStringList lines{
        tr("Use this editor at your own risk."),
        tr("Make a backup of all of your OBJDAT.dat files before using this tool."),
        tr("Enter data carefully, there is limited (if any) range checking "),
        tr("and bad data can cause Corvane to crash."),
        tr("Remember to SAVE when you are done with all of your "),
        tr("changes to the file."),
        tr("Good luck!"),
        QString(),
        tr("Brannock"),
    };
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));

    Button5 = new QPushButton(tr("Click to Open File Editor"), this);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setGeometry(80, 160, 201, 25);
    bindUserAction(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });

    setTabOrder(Button5, Memo1);
    Button5->setFocus();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace ui
