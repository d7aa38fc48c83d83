#include "tests/support/scripted_dialogs.h"

namespace ui {

void ScriptedDialogs::queueOpenFile(const QString& path) {
    m_openFiles.push_back(path);
}

void ScriptedDialogs::queueFolder(const QString& path) {
    m_folders.push_back(path);
}

void ScriptedDialogs::queueAnswer(Answer answer) {
    m_answers.push_back(answer);
}

void ScriptedDialogs::queueText(std::optional<QString> text) {
    m_texts.push_back({text.has_value(), text.value_or(QString())});
}

std::optional<QString> ScriptedDialogs::askText(QWidget*, const QString&, const QString& label,
                                                const QString&) {
    m_textQuestions << label;
    if (m_texts.empty()) {
        m_unanswered << QStringLiteral("askText");
        return std::nullopt;
    }
    const TextAnswer answer = m_texts.front();
    m_texts.pop_front();
    if (!answer.given)
        return std::nullopt;
    return answer.text;
}

void ScriptedDialogs::queueFont(QList<FontChoice> applied, std::optional<FontChoice> confirmed) {
    m_fonts.push_back({std::move(applied), std::move(confirmed)});
}

std::optional<Dialogs::FontChoice> ScriptedDialogs::chooseFont(QWidget*, const FontChoice& initial,
                                                               const FontApply& apply) {
    m_fontStarts << initial;
    if (m_fonts.empty()) {
        m_unanswered << QStringLiteral("chooseFont");
        return std::nullopt;
    }
    const FontScript script = m_fonts.front();
    m_fonts.pop_front();
    for (const FontChoice& choice : script.applied)
        apply(choice);
    return script.confirmed;
}

QStringList ScriptedDialogs::texts(Kind kind) const {
    QStringList result;
    for (const Message& message : m_messages)
        if (message.kind == kind)
            result << message.text;
    return result;
}

qsizetype ScriptedDialogs::pendingAnswers() const {
    return static_cast<qsizetype>(m_openFiles.size() + m_folders.size() + m_answers.size() +
                                  m_texts.size() + m_fonts.size());
}

void ScriptedDialogs::clearRecord() {
    m_messages.clear();
    m_openRequests.clear();
    m_folderPrompts.clear();
    m_textQuestions.clear();
    m_unanswered.clear();
}

QString ScriptedDialogs::openFile(QWidget*, const OpenFileRequest& request) {
    m_openRequests << request;
    if (m_openFiles.empty()) {
        m_unanswered << QStringLiteral("openFile");
        return QString();
    }
    QString path = m_openFiles.front();
    m_openFiles.pop_front();
    return path;
}

QString ScriptedDialogs::browseFolder(QWidget*, const QString& instruction) {
    m_folderPrompts << instruction;
    if (m_folders.empty()) {
        m_unanswered << QStringLiteral("browseFolder");
        return m_lastFolder;
    }
    const QString path = m_folders.front();
    m_folders.pop_front();
    if (!path.isEmpty())
        m_lastFolder = path;
    return m_lastFolder;
}

Dialogs::Answer ScriptedDialogs::answer(QWidget* parent, const QString& text, const QString& dialog,
                                        Answer unanswered) {
    m_messages << Message{Kind::Confirm, text, parent};
    if (m_answers.empty()) {
        m_unanswered << dialog;
        return unanswered;
    }
    const Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

Dialogs::Answer ScriptedDialogs::confirm(QWidget* parent, const QString& text) {
    return answer(parent, text, QStringLiteral("confirm"), Answer::No);
}

Dialogs::Answer ScriptedDialogs::confirmOverwrite(QWidget* parent, const QString& text) {
    return answer(parent, text, QStringLiteral("confirmOverwrite"), Answer::Cancel);
}

void ScriptedDialogs::information(QWidget* parent, const QString& text) {
    m_messages << Message{Kind::Information, text, parent};
}

void ScriptedDialogs::error(QWidget* parent, const QString& text) {
    m_messages << Message{Kind::Error, text, parent};
}

} // namespace ui
