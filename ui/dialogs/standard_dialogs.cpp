#include "ui/dialogs/standard_dialogs.h"

#include "ui/dialogs/file_filters.h"
#include "ui/dialogs/folder_prompt.h"
#include "ui/dialogs/font_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

QString StandardDialogs::errorTitle() {
    return QString::fromUtf16(kApplicationTitle);
}

QString StandardDialogs::openFile(QWidget* parent, const OpenFileRequest& request) {
    QFileDialog dialog(parent, request.title);
#ifndef Q_OS_WIN // Windows users get Windows' own dialog; elsewhere Qt's, the same on every desktop
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist is handed on, and opening it reports the error.
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = fileDialogFilters(request.filter);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.front());
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.startFolder.isEmpty())
        dialog.setDirectory(request.startFolder);
    if (!m_lastOpenedFile.isEmpty()) {
        const QFileInfo last(m_lastOpenedFile);
        if (last.absoluteDir() == dialog.directory())
            dialog.selectFile(last.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    m_lastOpenedFile = QDir::toNativeSeparators(dialog.selectedFiles().front());
    return m_lastOpenedFile;
}

QString StandardDialogs::browseFolder(QWidget* parent, const QString& instruction) {
    FolderPrompt prompt(instruction, m_lastFolder, parent);
    if (prompt.exec() == QDialog::Accepted)
        m_lastFolder = prompt.selectedPath();
    return m_lastFolder;
}

Dialogs::Answer StandardDialogs::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Dialogs::Answer StandardDialogs::confirmOverwrite(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                    parent);
    QPushButton* overwrite =
        box.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
    QPushButton* reload = box.addButton(QStringLiteral("&Reload"), QMessageBox::ActionRole);
    QPushButton* cancel = box.addButton(QStringLiteral("&Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == overwrite)
        return Answer::Overwrite;
    return box.clickedButton() == reload ? Answer::Reload : Answer::Cancel;
}

void StandardDialogs::information(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
                    parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

std::optional<QString> StandardDialogs::askText(QWidget* parent, const QString& title,
                                                const QString& label, const QString& initial) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(label);
    dialog.setTextValue(initial);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<Dialogs::FontChoice>
StandardDialogs::chooseFont(QWidget* parent, const FontChoice& initial, const FontApply& apply) {
    FontDialog dialog(initial, apply, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

void StandardDialogs::error(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, errorTitle(), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

} // namespace ui
