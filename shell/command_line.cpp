#include "shell/command_line.h"

#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace shell {

CommandLine::CommandLine() {
    m_parser.setApplicationDescription(
        QStringLiteral("Edits the object data file of the game Corvane (OBJDAT.dat)."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The data file to open at start-up, as if chosen with \"Open\"."),
        QStringLiteral("[FILE]"));
}

void CommandLine::answerInformationRequests(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Whatever else the arguments hold is of no concern here; a mistake among them does not
    // keep the help from being shown.
    m_parser.parse(arguments);
    for (const QString& request :
         {QStringLiteral("help"), QStringLiteral("help-all"), QStringLiteral("version")}) {
        if (m_parser.isSet(request)) {
            // The usage line names the program as it was started: Qt takes it from the
            // application object.
            QCoreApplication application(argc, argv);
            QCoreApplication::setApplicationName(QString::fromUtf16(ui::kApplicationTitle));
            QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
            m_parser.process({arguments.first(), QStringLiteral("--") + request});
        }
    }
}

std::optional<QString> CommandLine::fileToOpen(const QStringList& arguments) {
    QString mistake;
    QStringList files;
    if (!m_parser.parse(arguments)) {
        mistake = m_parser.errorText();
    } else {
        files = m_parser.positionalArguments();
        if (files.size() > 1)
            mistake = QStringLiteral("Only one FILE can be opened.");
        else if (files.size() == 1 && files.first().isEmpty())
            mistake = QStringLiteral("FILE is empty.");
    }
    if (!mistake.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QFileInfo(arguments.first()).fileName()),
                     qPrintable(mistake));
        return std::nullopt;
    }
    return files.isEmpty() ? QString()
                           : QDir::cleanPath(QFileInfo(files.first()).absoluteFilePath());
}

} // namespace shell
