#pragma once
// The editor's command line: "corvane-objdat-editor [options] [FILE]", with
// --help, --help-all and --version, and FILE the data file to open at start-up.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace shell {

class CommandLine {
public:
    CommandLine();

    /** --help, --help-all or --version: the answer is printed on standard output and the process
     * ends with 0. Returns when the arguments ask for none of them. Needs no display and no
     * application object, so it runs first; Qt's own options (-platform, -style) are not taken
     * out yet, so every other judgement waits for fileToOpen. */
    void answerInformationRequests(int argc, char** argv);

    /** FILE of the application's arguments (Qt's own options taken out) as a clean absolute
     * path, as the open dialog gives it; empty without FILE. Nothing after a mistake (an unknown
     * option, more than one FILE, an empty one), which is then printed on standard error. */
    std::optional<QString> fileToOpen(const QStringList& arguments);

private:
    QCommandLineParser m_parser;
};

} // namespace shell
