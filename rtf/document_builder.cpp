// Qt's own importers build documents through QTextDocumentPrivate, as this does. It is Qt's
// private interface (qt6-base-private-dev), tied to the Qt version it is built with.

#include "rtf/document_builder.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QtGui/private/qtextdocument_p.h>
#include <QtGui/private/qtextformat_p.h>

namespace rtf {

DocumentBuilder::DocumentBuilder(QTextDocument& document)
    : m_document(document), m_private(QTextDocumentPrivate::get(&document)),
      m_blockFormat(m_private->formatCollection()->indexForFormat(QTextBlockFormat())) {
    Q_ASSERT(document.isEmpty());
    m_private->beginEditBlock();
}

DocumentBuilder::~DocumentBuilder() {
    m_private->endEditBlock();
}

int DocumentBuilder::charFormat(const QTextCharFormat& format) {
    return m_private->formatCollection()->indexForFormat(format);
}

void DocumentBuilder::insertText(const QString& text, int format) {
    m_private->insert(m_position, text, format);
    m_position += static_cast<int>(text.size());
}

void DocumentBuilder::insertBlock(int format) {
    m_private->insertBlock(m_position, m_blockFormat, format);
    ++m_position;
}

void DocumentBuilder::setBlockCharFormat(const QTextCharFormat& format) {
    QTextCursor cursor(&m_document); // rare: once for each empty block
    cursor.setPosition(m_position);
    cursor.setBlockCharFormat(format);
}

} // namespace rtf
