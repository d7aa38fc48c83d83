#include "shell/settings_file.h"

#include "document/errors.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>

#include <limits>
#include <optional>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace shell {

namespace {

const QString kSection = QStringLiteral("settings");
const QString kStartDir = QStringLiteral("startdir");
const QString kDamageScale = QStringLiteral("damscale");
const QString kSizeScale = QStringLiteral("sizescale");
constexpr int kDefaultScale = 100;

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

// The file's lines as stored, and as text for finding names. Lines the program does
// not change are written back byte for byte, whatever their encoding.
struct Lines {
    QList<QByteArray> raw;
    QStringList text;
    QByteArray endOfLine;

    void set(qsizetype index, const QString& line) {
        raw[index] = line.toUtf8();
        text[index] = line;
    }
    void insert(qsizetype index, const QString& line) {
        raw.insert(index, line.toUtf8());
        text.insert(index, line);
    }
};

// UTF-8, or Latin-1 for a line an older editor saved in a legacy code page.
QString decodeLine(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString line = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : line;
}

Lines splitLines(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    Lines result{{}, {}, QByteArrayLiteral("\r\n")};
#else
    Lines result{
        {}, {}, bytes.contains("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n")};
#endif
    if (bytes.isEmpty())
        return result;
    result.raw = bytes.split('\n');
    if (bytes.endsWith('\n'))
        result.raw.removeLast();
    for (QByteArray& line : result.raw) {
        if (line.endsWith('\r'))
            line.chop(1);
        result.text << decodeLine(line);
    }
    return result;
}

std::optional<QString> findValue(const QStringList& lines, const QString& section,
                                 const QString& key) {
    bool inSection = false;
    for (const QString& line : lines) {
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

// Puts key=value into the lines: replaces the key's first line in the first
// matching section, or adds the key after that section's last entry, or adds
// the section at the end.
void putValue(Lines& lines, const QString& section, const QString& key, const QString& value) {
    qsizetype sectionLine = -1;
    for (qsizetype i = 0; i < lines.text.size(); ++i) {
        const QString trimmed = lines.text[i].trimmed();
        if (isSectionLine(trimmed) && sameName(sectionName(trimmed), section)) {
            sectionLine = i;
            break;
        }
    }
    if (sectionLine < 0) {
        lines.insert(lines.text.size(), u'[' + section + u']');
        lines.insert(lines.text.size(), key + u'=' + value);
        return;
    }
    qsizetype lastEntry = sectionLine;
    for (qsizetype i = sectionLine + 1; i < lines.text.size(); ++i) {
        const QString trimmed = lines.text[i].trimmed();
        if (isSectionLine(trimmed))
            break;
        if (trimmed.isEmpty())
            continue;
        lastEntry = i;
        const std::optional<QString> name = keyOf(trimmed);
        if (name && sameName(*name, key)) {
            lines.set(i, *name + u'=' + value);
            return;
        }
    }
    lines.insert(lastEntry + 1, key + u'=' + value);
}

std::optional<int> parseDecimal(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == text.size())
        return std::nullopt;
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        if (magnitude > qint64{std::numeric_limits<int>::max()} + 1)
            return std::nullopt;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// Hexadecimal digits as a 32-bit pattern, so "0xFFFFFFFF" reads as -1.
std::optional<int> parseHex(const QString& digits) {
    quint64 value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        quint64 digit = 0;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
        if (value > std::numeric_limits<quint32>::max())
            return std::nullopt;
    }
    return static_cast<int>(static_cast<quint32>(value));
}

std::optional<int> parseInteger(const QString& text) {
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        return parseHex(text.mid(2));
    return parseDecimal(text);
}

} // namespace

QString SettingsFile::defaultPath() {
    const QString fileName = QStringLiteral("cvnobj.INI");
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    QString folder = QString::fromWCharArray(buffer, static_cast<qsizetype>(length));
    if (!folder.endsWith(u'\\'))
        folder += u'\\';
    return folder + fileName;
#else
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.config");
    QDir().mkpath(folder);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + fileName;
#endif
}

SettingsFile::SettingsFile(QString fullPath) : m_path(std::move(fullPath)) {}

QString SettingsFile::readText(const QString& section, const QString& key,
                               const QString& defaultText) const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultText;
    const Lines content = splitLines(file.readAll());
    file.close();
    const std::optional<QString> value = findValue(content.text, section, key);
    return value ? value->left(maxTextLength) : defaultText;
}

int SettingsFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    // A missing key reads as the empty text, which no integer parse accepts.
    const QString text = readText(section, key, QString());
    return parseInteger(text).value_or(defaultValue);
}

void SettingsFile::writeText(const QString& section, const QString& key,
                             const QString& text) const {
    const auto fail = [this] { throw doc::Error("Unable to write to " + m_path.toStdString()); };
    QFile file(m_path);
    Lines content;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            fail();
        content = splitLines(file.readAll());
        file.close();
    } else {
        content = splitLines({});
    }
    putValue(content, section, key, encodeValue(text));
    const QByteArray bytes = content.raw.join(content.endOfLine) + content.endOfLine;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail();
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError)
        fail();
}

void SettingsFile::writeInteger(const QString& section, const QString& key, int value) const {
    writeText(section, key, QString::number(value));
}

QString SettingsFile::readStartDir(const QString& defaultText) const {
    return readText(kSection, kStartDir, defaultText);
}

void SettingsFile::writeStartDir(const QString& folder) const {
    writeText(kSection, kStartDir, folder);
}

int SettingsFile::readDamageScale() const {
    return readInteger(kSection, kDamageScale, kDefaultScale);
}

void SettingsFile::writeDamageScale(int percent) const {
    writeInteger(kSection, kDamageScale, percent);
}

int SettingsFile::readSizeScale() const {
    return readInteger(kSection, kSizeScale, kDefaultScale);
}

void SettingsFile::writeSizeScale(int percent) const {
    writeInteger(kSection, kSizeScale, percent);
}

} // namespace shell
