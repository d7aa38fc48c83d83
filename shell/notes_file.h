#pragma once
// The notes file "objinfo.txt": one per user, in the user's data folder, holding the notes window's
// text as Rich Text Format. Opened only for one load or one save.

#include <QString>

class QTextDocument;

namespace shell {

class NotesFile {
public:
    /** $XDG_DATA_HOME/cvnobj/objinfo.txt, or ~/.local/share/cvnobj/objinfo.txt when that variable
     * is unset or empty. */
    static QString defaultPath();

    explicit NotesFile(QString path = defaultPath()) : m_path(std::move(path)) {}
    const QString& path() const { return m_path; }

    /** Replaces the document's content with the file's, as rich text, or as plain text (UTF-8,
     * else Windows-1252) when it is not rich text, and marks it unmodified. Returns false, leaving
     * the document as it is, when there is no file. Throws doc::Error "Cannot open file <path>"
     * when the file cannot be opened for reading (or is not a regular file) and "Failed to Load
     * Stream" when it cannot be read to its end. */
    bool load(QTextDocument& document) const;

    /** Writes the document as Rich Text Format, creating the folder when missing. The file is
     * replaced only once the new one is complete, so a failure leaves the previous notes as they
     * were. Throws doc::Error "Cannot create file <path>" when the file cannot be made and
     * "Failed to Save Stream" when writing it fails. */
    void save(const QTextDocument& document) const;

private:
    QString m_path;
};

} // namespace shell
