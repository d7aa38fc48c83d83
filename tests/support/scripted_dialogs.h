#pragma once
// Dialogs for GUI tests: answers come from queues filled by the test, and every
// dialog and message box shown is recorded. Nothing ever blocks: a dialog whose
// queue is empty is recorded as unanswered and treated as cancelled / "No".

#include "ui/dialogs/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

namespace ui {

class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Confirm, Information, Error };

    struct Message {
        Kind kind;
        QString text;
        QWidget* parent; // identity only; may be gone by the time a test looks
    };

    /** The next open dialog confirms path; an empty path cancels it. */
    void queueOpenFile(const QString& path);
    /** The next folder prompt confirms path; an empty path cancels it. */
    void queueFolder(const QString& path);
    /** The next "Confirm" question (either kind) is answered with answer. */
    void queueAnswer(Answer answer);
    /** The next text question is answered with text; nothing cancels it. */
    void queueText(std::optional<QString> text);
    /** The label of every text question asked, in order. */
    const QStringList& textQuestions() const { return m_textQuestions; }
    /** The next font dialog presses "Apply" with each of applied in turn, then ends with OK on
     * confirmed, or with "Cancel" when confirmed is empty. */
    void queueFont(QList<FontChoice> applied, std::optional<FontChoice> confirmed);
    /** The font each font dialog started with, in order. */
    const QList<FontChoice>& fontDialogStarts() const { return m_fontStarts; }

    /** Every confirm, information and error box, in order. */
    const QList<Message>& messages() const { return m_messages; }
    /** The texts of the messages of one kind, in order. */
    QStringList texts(Kind kind) const;
    /** Every open dialog request, in order. */
    const QList<OpenFileRequest>& openRequests() const { return m_openRequests; }
    /** The instruction of every folder prompt shown, in order. */
    const QStringList& folderPrompts() const { return m_folderPrompts; }
    /** Dialogs shown while their queue was empty: "openFile", "browseFolder", "confirm",
     * "confirmOverwrite", "askText", "chooseFont". */
    const QStringList& unanswered() const { return m_unanswered; }
    /** Queued answers no dialog has used yet. */
    qsizetype pendingAnswers() const;
    /** Forgets the record of what was shown (the queues and the folder memory stay). */
    void clearRecord();

    QString openFile(QWidget* parent, const OpenFileRequest& request) override;
    /** Like the real prompt: a cancel returns the folder confirmed last in this object. */
    QString browseFolder(QWidget* parent, const QString& instruction) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    /** Unanswered, it is cancelled. */
    Answer confirmOverwrite(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& label,
                                   const QString& initial) override;
    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial,
                                         const FontApply& apply) override;
    void error(QWidget* parent, const QString& text) override;

private:
    /** A "Confirm" question recorded and answered from the queue, or unanswered. */
    Answer answer(QWidget* parent, const QString& text, const QString& dialog, Answer unanswered);

    struct FontScript {
        QList<FontChoice> applied;
        std::optional<FontChoice> confirmed;
    };
    std::deque<FontScript> m_fonts;
    QList<FontChoice> m_fontStarts;
    std::deque<QString> m_openFiles;
    std::deque<QString> m_folders;
    std::deque<Answer> m_answers;
    struct TextAnswer {
        bool given; // false: cancelled
        QString text;
    };
    std::deque<TextAnswer> m_texts;
    QStringList m_textQuestions;
    QList<Message> m_messages;
    QList<OpenFileRequest> m_openRequests;
    QStringList m_folderPrompts;
    QStringList m_unanswered;
    QString m_lastFolder;
};

} // namespace ui
