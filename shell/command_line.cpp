#include "shell/command_line.h"

#include "ui/dialogs/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>

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
        if (!m_parser.isSet(request))
            continue;
        // Qt takes the usage line's program name, and for --help-all the options of every Qt
        // program, from the application object: one that needs no display and is told of
        // nothing but the program's name.
        int programOnly = 1;
        std::unique_ptr<QCoreApplication> application;
        if (request == QStringLiteral("help-all")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            application = std::make_unique<QApplication>(programOnly, argv);
        } else {
            application = std::make_unique<QCoreApplication>(programOnly, argv);
        }
        QCoreApplication::setApplicationName(QString::fromUtf16(ui::kApplicationTitle));
        QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
        m_parser.process({arguments.first(), QStringLiteral("--") + request});
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
