#include "shell/recent_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <limits>

#include <utility>

using namespace Qt::StringLiterals;

#ifdef Q_OS_WIN
#include "shell/windows_shell.h"
#endif

namespace shell {

namespace {

const QString kBookmarkNs =
    QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
const QString kMimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
const QString kMetadataOwner = QStringLiteral("http://freedesktop.org");
// This application as its bookmarks name it: the program, and how it opens a file, quoted for
// the shell as a whole, as GLib writes the command and unquotes it when it reads it.
const QString kApplicationName = QStringLiteral("corvane-objdat-editor");
const QString kApplicationExec = QStringLiteral("'corvane-objdat-editor %f'");

// The list before its first bookmark.
constexpr char kEmptyList[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\""
    " xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\""
    " xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"></xbel>\n";

bool refersTo(QStringView href, const QString& path) {
    const QUrl url(href.toString());
    return url.isLocalFile() && QDir::cleanPath(url.toLocalFile()) == QDir::cleanPath(path);
}

/** Copies a bookmark list token by token, with one use of a file by this application recorded
 * in it: the file's bookmark is brought up to date, or added at the end. What other programs
 * wrote is kept, except the whitespace between elements, which is written anew. */
class BookmarkEdit {
public:
    BookmarkEdit(const QByteArray& list, QString path, QString mimeType)
        : m_in(list), m_out(&m_result), m_path(std::move(path)), m_mimeType(std::move(mimeType)),
          m_now(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)) {
        m_out.setAutoFormatting(true);
        m_out.setAutoFormattingIndent(2);
    }

    /** The list with the use recorded; empty when the list is no well-formed bookmark list. */
    QByteArray run() {
        while (!m_in.atEnd()) {
            switch (m_in.readNext()) {
            case QXmlStreamReader::StartDocument:
                m_out.writeStartDocument();
                break;
            case QXmlStreamReader::StartElement:
                if (!startElement())
                    return {};
                break;
            case QXmlStreamReader::EndElement:
                endElement();
                break;
            case QXmlStreamReader::Characters:
                if (!m_in.isWhitespace())
                    m_out.writeCurrentToken(m_in);
                break;
            case QXmlStreamReader::Invalid:
                return {};
            case QXmlStreamReader::EndDocument:
                m_out.writeEndDocument();
                break;
            default: // comments, processing instructions, the document type, entity references
                m_out.writeCurrentToken(m_in);
                break;
            }
        }
        return m_in.hasError() ? QByteArray() : m_result;
    }

private:
    // Inside the file's bookmark: <info> one level down, the freedesktop <metadata> two,
    // <mime:mime-type> and <bookmark:applications> three, each <bookmark:application> four.
    int level() const { return m_depth - m_bookmarkDepth; }
    bool is(const QString& ns, QStringView name) const {
        return m_in.namespaceUri() == ns && m_in.name() == name;
    }

    bool startElement() {
        ++m_depth;
        const QXmlStreamAttributes attributes = m_in.attributes();
        if (m_depth == 1) {
            if (!is(QString(), u"xbel"))
                return false;
            m_out.writeCurrentToken(m_in);
            declareNamespaces();
        } else if (m_depth == 2 && !m_bookmarked && is(QString(), u"bookmark") &&
                   refersTo(attributes.value("href"_L1), m_path)) {
            m_bookmarked = true;
            m_bookmarkDepth = m_depth;
            writeStartWith(
                {{QStringLiteral("modified"), m_now}, {QStringLiteral("visited"), m_now}});
        } else if (m_bookmarkDepth > 0 && level() == 2 && is(QString(), u"metadata") &&
                   attributes.value("owner"_L1) == kMetadataOwner) {
            m_inMetadata = true;
            m_out.writeCurrentToken(m_in);
        } else if (m_inMetadata && level() == 4 && is(kBookmarkNs, u"application") &&
                   attributes.value("name"_L1) == kApplicationName) {
            // Written anew, with one use more, where the list of applications ends.
            m_count = std::max(0, attributes.value("count"_L1).toInt());
            m_in.skipCurrentElement();
            --m_depth;
        } else {
            if (m_inMetadata && level() == 3)
                m_hasMimeType = m_hasMimeType || is(kMimeNs, u"mime-type");
            m_out.writeCurrentToken(m_in);
        }
        return true;
    }

    void endElement() {
        // Whatever the file's bookmark lacks is added before the element it belongs in ends.
        if (m_bookmarkDepth > 0) {
            if (m_inMetadata && level() == 3 && is(kBookmarkNs, u"applications")) {
                if (!m_recorded)
                    writeApplication();
            } else if (m_inMetadata && level() == 2) {
                if (!m_hasMimeType)
                    writeMimeType();
                if (!m_recorded)
                    writeApplications();
                m_inMetadata = false;
            } else if (level() == 1 && is(QString(), u"info")) {
                if (!m_recorded)
                    writeMetadata();
            } else if (level() == 0) {
                if (!m_recorded)
                    writeInfo();
                m_bookmarkDepth = 0;
            }
        }
        if (m_depth == 1 && !m_bookmarked)
            writeBookmark();
        m_out.writeCurrentToken(m_in);
        --m_depth;
    }

    /** The namespaces of the elements this edit may write, declared once on the root. */
    void declareNamespaces() {
        const QXmlStreamNamespaceDeclarations declared = m_in.namespaceDeclarations();
        for (const auto& [ns, prefix] : {std::pair{kBookmarkNs, QStringLiteral("bookmark")},
                                         std::pair{kMimeNs, QStringLiteral("mime")}}) {
            bool nsDeclared = false, prefixTaken = false;
            for (const QXmlStreamNamespaceDeclaration& declaration : declared) {
                nsDeclared = nsDeclared || declaration.namespaceUri() == ns;
                prefixTaken = prefixTaken || declaration.prefix() == prefix;
            }
            if (!nsDeclared) // a prefix of the writer's own when the list uses ours otherwise
                m_out.writeNamespace(ns, prefixTaken ? QString() : prefix);
        }
    }

    /** The current start element with the given attributes' values replaced or added. */
    void writeStartWith(QList<std::pair<QString, QString>> changed) {
        m_out.writeStartElement(m_in.namespaceUri().toString(), m_in.name().toString());
        for (const QXmlStreamNamespaceDeclaration& declaration : m_in.namespaceDeclarations())
            m_out.writeNamespace(declaration.namespaceUri().toString(),
                                 declaration.prefix().toString());
        for (const QXmlStreamAttribute& attribute : m_in.attributes()) {
            const auto replaced = std::find_if(changed.begin(), changed.end(), [&](const auto& c) {
                return attribute.namespaceUri().isEmpty() && attribute.name() == c.first;
            });
            if (replaced == changed.end()) {
                m_out.writeAttribute(attribute);
            } else {
                m_out.writeAttribute(replaced->first, replaced->second);
                changed.erase(replaced);
            }
        }
        for (const auto& [name, value] : changed)
            m_out.writeAttribute(name, value);
    }

    void writeApplication() {
        m_out.writeEmptyElement(kBookmarkNs, QStringLiteral("application"));
        m_out.writeAttribute(QStringLiteral("name"), kApplicationName);
        m_out.writeAttribute(QStringLiteral("exec"), kApplicationExec);
        m_out.writeAttribute(QStringLiteral("modified"), m_now);
        const int count = m_count < std::numeric_limits<int>::max() ? m_count + 1 : m_count;
        m_out.writeAttribute(QStringLiteral("count"), QString::number(count));
        m_recorded = true;
    }
    void writeApplications() {
        m_out.writeStartElement(kBookmarkNs, QStringLiteral("applications"));
        writeApplication();
        m_out.writeEndElement();
    }
    void writeMimeType() {
        m_out.writeEmptyElement(kMimeNs, QStringLiteral("mime-type"));
        m_out.writeAttribute(QStringLiteral("type"), m_mimeType);
    }
    void writeMetadata() {
        m_out.writeStartElement(QStringLiteral("metadata"));
        m_out.writeAttribute(QStringLiteral("owner"), kMetadataOwner);
        writeMimeType();
        writeApplications();
        m_out.writeEndElement();
    }
    void writeInfo() {
        m_out.writeStartElement(QStringLiteral("info"));
        writeMetadata();
        m_out.writeEndElement();
    }
    void writeBookmark() {
        m_out.writeStartElement(QStringLiteral("bookmark"));
        m_out.writeAttribute(QStringLiteral("href"),
                             QString::fromUtf8(QUrl::fromLocalFile(m_path).toEncoded()));
        for (const char* time : {"added", "modified", "visited"})
            m_out.writeAttribute(QString::fromLatin1(time), m_now);
        writeInfo();
        m_out.writeEndElement();
    }

    QXmlStreamReader m_in;
    QByteArray m_result;
    QXmlStreamWriter m_out;
    const QString m_path;
    const QString m_mimeType;
    const QString m_now;
    int m_depth = 0;
    int m_bookmarkDepth = 0; // while inside the file's bookmark, else 0
    bool m_bookmarked = false;
    bool m_inMetadata = false;
    bool m_hasMimeType = false;
    bool m_recorded = false;
    int m_count = 0; // this application's earlier uses of the file
};

} // namespace

QString RecentFiles::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/recently-used.xbel");
}

RecentFiles::RecentFiles(QString bookmarkFile) : m_bookmarkFile(std::move(bookmarkFile)) {}

bool RecentFiles::add(const QString& path) const {
#ifdef Q_OS_WIN
    addToWindowsRecentDocuments(path); // Windows keeps its own list, not a bookmark file
    return true;
#endif
    QByteArray list = kEmptyList;
    const QFileInfo info(m_bookmarkFile);
    if (info.exists() || info.isSymLink()) {
        // Only a regular file is read: a folder, a device or a pipe is no list of ours to touch.
        QFile file(m_bookmarkFile);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            qWarning("%s cannot be read; the recent files are left as they are",
                     qPrintable(m_bookmarkFile));
            return false;
        }
        list = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            qWarning("%s cannot be read; the recent files are left as they are",
                     qPrintable(m_bookmarkFile));
            return false;
        }
    }
    const QString mimeType = QMimeDatabase().mimeTypeForFile(path).name();
    const QByteArray edited = BookmarkEdit(list, path, mimeType).run();
    if (edited.isEmpty()) {
        qWarning("%s is no well-formed bookmark list; the recent files are left as they are",
                 qPrintable(m_bookmarkFile));
        return false;
    }
    // A new file beside the list, renamed over it once it is whole: a reader sees the old list
    // or the new one, never a part.
    QDir().mkpath(info.absolutePath());
    QSaveFile replacement(m_bookmarkFile);
    if (!replacement.open(QIODevice::WriteOnly) || replacement.write(edited) != edited.size() ||
        !replacement.commit()) {
        qWarning("%s cannot be replaced: %s", qPrintable(m_bookmarkFile),
                 qPrintable(replacement.errorString()));
        return false;
    }
    return true;
}

} // namespace shell
