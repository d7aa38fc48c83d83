#pragma once
// The text of an initialization file: "[section]" lines and "key=value" lines,
// names compared without regard to case. Lines the program does not change
// keep their bytes, whatever their encoding, so a hand-edited file loses
// nothing when one value is written.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace shell {

class IniText {
public:
    /** The file's bytes; empty for a file that does not exist yet. */
    explicit IniText(const QByteArray& bytes = {});

    /** The value of key in the first section named section that holds it, trimmed and with one
     * pair of matching quotes taken off; nothing when there is no such key. */
    std::optional<QString> value(const QString& section, const QString& key) const;

    /** Stores text as the value of key: replaces the key's line in the first section named
     * section, or adds the key after that section's last entry, or adds the section at the end.
     * A text that would not read back as it is (one holding a line break) is refused: returns
     * false and changes nothing. */
    bool setValue(const QString& section, const QString& key, const QString& text);

    /** The whole text, every line ended by "\n" after its own carriage return if it had one;
     * lines added get one when the file used "\r\n". Empty when there are no lines. */
    QByteArray bytes() const;

private:
    void setLine(qsizetype index, const QString& line);
    void insertLine(qsizetype index, const QString& line);

    QList<QByteArray> m_raw; // the lines as stored, without their "\n"
    QStringList m_text;      // the same lines decoded, for finding names
    QByteArray m_endOfLine;  // of lines added
};

} // namespace shell
