#include "shell/settings_file.h"

#include "document/errors.h"
#include "document/whole_file.h"
#include "shell/ini_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>
#include <optional>
#include <utility>

#ifdef Q_OS_WIN
#include "shell/windows_shell.h"
#endif

namespace shell {

namespace {

const QString kSection = QStringLiteral("settings");
const QString kStartDir = QStringLiteral("startdir");
const QString kDamageScale = QStringLiteral("damscale");
const QString kSizeScale = QStringLiteral("sizescale");
constexpr int kDefaultScale = 100;

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

std::optional<int> parseDecimalOrHex(const QString& text) {
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        return parseHex(text.mid(2));
    return parseDecimal(text);
}

} // namespace

QString SettingsFile::defaultPath() {
    const QString fileName = QStringLiteral("cvnobj.INI");
#ifdef Q_OS_WIN
    // Where it was kept before, the Windows directory, is read on the first run.
    return windowsUserFile(fileName, windowsDirectory());
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

SettingsFile::SettingsFile(QString fullPath, doc::FileSystem& fileSystem)
    : m_path(std::move(fullPath)), m_fileSystem(fileSystem) {}

QString SettingsFile::readText(const QString& section, const QString& key,
                               const QString& defaultText) const {
    // Reads never fail: whatever cannot be read is the default. Only a regular file is read,
    // since a FIFO or a device in its place would block or never end.
    if (!QFileInfo(m_path).isFile())
        return defaultText;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultText;
    const IniText content(file.readAll());
    file.close();
    const std::optional<QString> value = content.value(section, key);
    return value ? value->left(maxTextLength) : defaultText;
}

int SettingsFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    // A missing key reads as the empty text, which no integer parse accepts.
    const QString text = readText(section, key, QString());
    return parseDecimalOrHex(text).value_or(defaultValue);
}

void SettingsFile::writeText(const QString& section, const QString& key,
                             const QString& text) const {
    const auto fail = [this] { throw doc::Error("Unable to write to " + m_path.toStdString()); };
    const std::string path = m_path.toStdString();
    try {
        // The file is replaced whole, never truncated and rewritten, so a failure at any step
        // leaves the previous file as it was.
        QByteArray current;
        switch (m_fileSystem.kindOf(path)) {
        case doc::PathKind::Missing:
            break;
        case doc::PathKind::RegularFile: {
            // A file that cannot be read is not replaced: its other lines would be lost.
            const auto file = m_fileSystem.openReadOnly(path);
            const std::vector<std::uint8_t> bytes = doc::readWholeFile(*file);
            file->close();
            current = QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                 static_cast<qsizetype>(bytes.size()));
            break;
        }
        case doc::PathKind::Other:
            fail();
        }
        IniText content(current);
        if (!content.setValue(section, key, text))
            fail();
        const QByteArray bytes = content.bytes();
        const auto written =
            doc::placeWholeFile(m_fileSystem, path,
                                std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())),
                                true);
        written->close();
        m_fileSystem.syncFolderOf(path);
    } catch (const doc::IoError&) {
        fail();
    }
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
