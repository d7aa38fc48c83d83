#include "shell/ini_text.h"

#include <QStringDecoder>

namespace shell {

namespace {

bool isSectionLine(const QString& trimmed) {
    return trimmed.startsWith(u'[');
}

QString sectionName(const QString& trimmed) {
    const qsizetype close = trimmed.indexOf(u']');
    return trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

bool isComment(const QString& trimmed) {
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

// The key of a "key=value" line, or nothing for any other line.
std::optional<QString> keyOf(const QString& trimmed) {
    if (isComment(trimmed) || isSectionLine(trimmed))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return trimmed.left(equals).trimmed();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Values are trimmed and lose one pair of matching quotes when read, the way
// hand-written initialization files expect.
QString decodeValue(const QString& trimmedLine) {
    QString value = trimmedLine.mid(trimmedLine.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// Quotes exactly those texts that reading would otherwise change.
QString encodeValue(const QString& text) {
    const bool needsQuotes = text != text.trimmed() ||
                             (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
                              text.back() == text.front());
    return needsQuotes ? u'"' + text + u'"' : text;
}

// UTF-8, or Latin-1 for a line an older editor saved in a legacy code page.
QString decodeLine(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString line = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : line;
}

} // namespace

IniText::IniText(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    m_endOfLine = QByteArrayLiteral("\r\n");
#else
    m_endOfLine = bytes.contains("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
#endif
    if (bytes.isEmpty())
        return;
    // Each line keeps a carriage return of its own, so the lines a write does not touch keep
    // their bytes and a second write of the same value writes the same file.
    m_raw = bytes.split('\n');
    if (bytes.endsWith('\n'))
        m_raw.removeLast();
    for (const QByteArray& line : m_raw)
        m_text << decodeLine(line.endsWith('\r') ? line.chopped(1) : line);
}

std::optional<QString> IniText::value(const QString& section, const QString& key) const {
    bool inSection = false;
    for (const QString& line : m_text) {
        const QString trimmed = line.trimmed();
        if (isSectionLine(trimmed)) {
            inSection = sameName(sectionName(trimmed), section);
            continue;
        }
        if (!inSection)
            continue;
        const std::optional<QString> name = keyOf(trimmed);
        if (name && sameName(*name, key))
            return decodeValue(trimmed);
    }
    return std::nullopt;
}

bool IniText::setValue(const QString& section, const QString& key, const QString& text) {
    // A carriage return alone reads back here, but other readers of the file take it for the
    // end of the line.
    for (const QString* part : {&section, &key, &text}) {
        if (part->contains(u'\n') || part->contains(u'\r'))
            return false;
    }
    const IniText before = *this;
    const QString value = encodeValue(text);
    qsizetype sectionLine = -1;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const QString trimmed = m_text[i].trimmed();
        if (isSectionLine(trimmed) && sameName(sectionName(trimmed), section)) {
            sectionLine = i;
            break;
        }
    }
    if (sectionLine < 0) {
        insertLine(m_text.size(), u'[' + section + u']');
        insertLine(m_text.size(), key + u'=' + value);
    } else {
        qsizetype lastEntry = sectionLine;
        bool replaced = false;
        for (qsizetype i = sectionLine + 1; i < m_text.size() && !replaced; ++i) {
            const QString trimmed = m_text[i].trimmed();
            if (isSectionLine(trimmed))
                break;
            if (trimmed.isEmpty())
                continue;
            lastEntry = i;
            const std::optional<QString> name = keyOf(trimmed);
            if (name && sameName(*name, key)) {
                setLine(i, *name + u'=' + value);
                replaced = true;
            }
        }
        if (!replaced)
            insertLine(lastEntry + 1, key + u'=' + value);
    }
    // Whatever the text holds, what is stored must be what a reader of the bytes finds: a line
    // break would cut the value and start a line of its own, a character that UTF-8 cannot
    // carry would come back changed.
    if (IniText(bytes()).value(section, key) != text) {
        *this = before;
        return false;
    }
    return true;
}

QByteArray IniText::bytes() const {
    return m_raw.isEmpty() ? QByteArray() : m_raw.join('\n') + '\n';
}

void IniText::setLine(qsizetype index, const QString& line) {
    const bool carriageReturn = m_raw[index].endsWith('\r');
    m_raw[index] = line.toUtf8();
    if (carriageReturn)
        m_raw[index] += '\r';
    m_text[index] = line;
}

void IniText::insertLine(qsizetype index, const QString& line) {
    QByteArray raw = line.toUtf8();
    if (m_endOfLine == "\r\n")
        raw += '\r';
    m_raw.insert(index, raw);
    m_text.insert(index, line);
}

} // namespace shell
