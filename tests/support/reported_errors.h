#pragma once
// Captures what the application-wide error reporter would show, for the
// lifetime of a scope, and puts the previous reporter back.

#include "ui/user_action.h"

#include <QString>
#include <QStringList>

namespace testsupport {

class ReportedErrors {
public:
    ReportedErrors()
        : m_previous(ui::setErrorReporter([this](const std::exception& error) {
              m_messages << QString::fromUtf8(error.what());
          })) {}
    ~ReportedErrors() { ui::setErrorReporter(m_previous); }
    ReportedErrors(const ReportedErrors&) = delete;
    ReportedErrors& operator=(const ReportedErrors&) = delete;

    /** Every message reported so far, in order. */
    QStringList& messages() { return m_messages; }
    qsizetype count() const { return m_messages.size(); }
    QString last() const { return m_messages.isEmpty() ? QString() : m_messages.last(); }

private:
    QStringList m_messages;
    ui::ErrorReporter m_previous;
};

} // namespace testsupport
