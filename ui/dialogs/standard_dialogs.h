#pragma once
// The real dialogs and message boxes behind the Dialogs seam.

#include "ui/dialogs/dialogs.h"

namespace ui {

class StandardDialogs : public Dialogs {
public:
    /** Title of the error box: the application title. */
    static QString errorTitle();

    QString openFile(QWidget* parent, const OpenFileRequest& request) override;
    QString browseFolder(QWidget* parent, const QString& instruction) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    Answer confirmOverwrite(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial,
                                         const FontApply& apply) override;
    void error(QWidget* parent, const QString& text) override;

private:
    QString m_lastOpenedFile; // the open dialog offers it again in its folder
    QString m_lastFolder;     // the folder prompt's selection, kept for the whole run
};

} // namespace ui
