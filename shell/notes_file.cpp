#include "shell/notes_file.h"

#include "codepage/windows1252.h"
#include "document/errors.h"
#include "rtf/rtf.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextDocument>

#ifdef Q_OS_WIN
#include "shell/windows_shell.h"
#endif

namespace shell {

namespace {

/** Notes are typed by hand; a file far beyond that is not read whole into the window. */
constexpr qint64 kLargestNotes = 64 * 1024 * 1024;

QString plainText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const char32_t c = cp1252::toUnicode(static_cast<std::uint8_t>(byte));
        text += QChar(static_cast<char16_t>(c));
    }
    return text;
}

} // namespace

QString NotesFile::defaultPath() {
#ifdef Q_OS_WIN
    // Where it was kept before, beside the program, is read on the first run.
    return windowsUserFile(QStringLiteral("objinfo.txt"), QCoreApplication::applicationDirPath());
#endif
    QString folder = qEnvironmentVariable("XDG_DATA_HOME");
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.local/share");
    return folder + QStringLiteral("/cvnobj/objinfo.txt");
}

bool NotesFile::load(QTextDocument& document) const {
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return false;
    const std::string cannotOpen = "Cannot open file " + m_path.toStdString();
    // A FIFO or a device would block or never end.
    if (!info.isFile())
        throw doc::Error(cannotOpen);
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw doc::Error(cannotOpen);
    if (file.size() > kLargestNotes)
        throw doc::Error("Failed to Load Stream");
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw doc::Error("Failed to Load Stream");
    if (!rtf::read(bytes, document)) {
        document.setPlainText(plainText(bytes));
        document.setModified(false);
    }
    return true;
}

void NotesFile::save(const QTextDocument& document) const {
    const std::string cannotCreate = "Cannot create file " + m_path.toStdString();
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        throw doc::Error(cannotCreate);
    QSaveFile file(m_path);
    // Unbuffered: Qt's buffered flush at commit loses a short write on a full disk, and the cut
    // file would replace the notes.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw doc::Error(cannotCreate);
    const QByteArray bytes = rtf::write(document);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw doc::Error("Failed to Save Stream");
    }
    if (!file.commit()) {
        // Nothing was replaced: either the content could not be written out or the file could not
        // be put in place of the old one (a folder there, a folder that refuses new names).
        throw doc::Error(file.error() == QFileDevice::RenameError ? cannotCreate
                                                                  : "Failed to Save Stream");
    }
}

} // namespace shell
