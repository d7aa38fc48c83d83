#pragma once
// A reader of the desktop's bookmark list (recently-used.xbel) for tests, independent of the
// one that writes it: each bookmark with its file, MIME type and uses per application, and the
// whole element in a canonical form (names with their namespace, attributes sorted, text without
// the whitespace between elements) to tell whether it was kept.

#include <QFile>
#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>

namespace testsupport {

struct Bookmark {
    QString file; // the local path the href names
    QString added;
    QString mimeType;
    QMap<QString, int> uses; // application name -> count
    QString canonical;
};

/** The bookmarks of the list at path, in order; nothing when it is missing or malformed. */
inline QList<Bookmark> readBookmarks(const QString& path) {
    const QString bookmarkNs =
        QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks");
    const QString mimeNs = QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader in(&file);
    QList<Bookmark> found;
    int depth = 0;
    while (!in.atEnd()) {
        const auto token = in.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            const QXmlStreamAttributes attributes = in.attributes();
            if (depth == 2 && in.name() == u"bookmark") {
                Bookmark bookmark;
                bookmark.file =
                    QUrl(attributes.value(QStringLiteral("href")).toString()).toLocalFile();
                bookmark.added = attributes.value(QStringLiteral("added")).toString();
                found.append(bookmark);
            }
            if (depth < 2 || found.isEmpty())
                continue;
            Bookmark& bookmark = found.last();
            if (in.namespaceUri() == mimeNs && in.name() == u"mime-type")
                bookmark.mimeType = attributes.value(QStringLiteral("type")).toString();
            if (in.namespaceUri() == bookmarkNs && in.name() == u"application")
                bookmark.uses[attributes.value(QStringLiteral("name")).toString()] =
                    attributes.value(QStringLiteral("count")).toInt();
            QStringList sorted;
            for (const QXmlStreamAttribute& attribute : attributes)
                sorted << QStringLiteral("%1|%2=%3")
                              .arg(attribute.namespaceUri(), attribute.name(), attribute.value());
            std::sort(sorted.begin(), sorted.end());
            bookmark.canonical +=
                QStringLiteral("<%1|%2 %3>").arg(in.namespaceUri(), in.name(), sorted.join(u' '));
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (depth >= 1 && !found.isEmpty())
                found.last().canonical += QStringLiteral("</>");
        } else if (token == QXmlStreamReader::Characters && !in.isWhitespace() && depth >= 2 &&
                   !found.isEmpty()) {
            found.last().canonical += in.text();
        }
    }
    return in.hasError() ? QList<Bookmark>() : found;
}

} // namespace testsupport
