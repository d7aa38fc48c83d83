#pragma once
// Builds a QTextDocument from its end, run by run, straight into its piece table: what
// QTextCursor's insertText and insertBlock do for text without block separators, without what
// they repeat for every run (a copy of the char format, detached, hashed and compared with the
// document's formats, the block format looked up, every cursor of the document adjusted).

#include <QtGlobal>

class QString;
class QTextCharFormat;
class QTextDocument;
class QTextDocumentPrivate;

namespace rtf {

class DocumentBuilder {
public:
    /** Starts one edit block on an empty document; the destructor ends it, and only then does
     * the document tell its listeners and its layout what changed. */
    explicit DocumentBuilder(QTextDocument& document);
    ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder&) = delete;
    DocumentBuilder& operator=(const DocumentBuilder&) = delete;

    /** The document's number for a char format, to insert with; it stays valid for the
     * document's life. */
    int charFormat(const QTextCharFormat& format);

    /** Text without block separators, at the end, in a char format of charFormat(). */
    void insertText(const QString& text, int format);

    /** Ends the block being built and starts a new one with the default block format and a
     * char format of charFormat() (the one an empty block shows). */
    void insertBlock(int format);

    /** The char format of the block being built. */
    void setBlockCharFormat(const QTextCharFormat& format);

private:
    QTextDocument& m_document;
    QTextDocumentPrivate* m_private;
    int m_blockFormat;
    int m_position = 0;
};

} // namespace rtf
