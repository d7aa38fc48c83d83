#pragma once
// The settings file "cvnobj.INI": the open dialog's start folder and the two
// scale percentages. Every access opens, uses and releases the file by itself,
// so another program (or a second copy of the editor) may change it between
// two accesses and each access sees what is on disk at that moment.

#include "document/file_system.h"
#include "editor/document_settings.h"

#include <QString>

namespace shell {

class SettingsFile : public editor::DocumentSettings {
public:
    /** Texts read back are cut to this many characters. */
    static constexpr int maxTextLength = 2047;

    /** The settings file of this machine: the Windows directory on Windows, the user's
     * configuration folder elsewhere ($XDG_CONFIG_HOME, or $HOME/.config), created when missing. */
    static QString defaultPath();

    /** Writes through the given file system (the real one unless a test passes its own); reads
     * go straight to the file, since they never fail. */
    explicit SettingsFile(QString fullPath = defaultPath(),
                          doc::FileSystem& fileSystem = doc::FileSystem::real());

    const QString& path() const { return m_path; }

    /** The stored text, or defaultText when the file, section or key is missing.
     * A key present with an empty value yields the empty text. */
    QString readText(const QString& section, const QString& key, const QString& defaultText) const;
    /** The stored integer (decimal with optional sign, or "0x"/"0X" hexadecimal), or
     * defaultValue when missing or not a valid signed 32-bit integer. */
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    /** Stores text, creating the file, section or key as needed and keeping every other
     * line. The file is replaced whole: whatever fails, it holds either its previous content or
     * the new one. Throws doc::Error("Unable to write to <path>") when the file cannot be
     * written, and for a text holding a line break, which could not be read back whole. */
    void writeText(const QString& section, const QString& key, const QString& text) const;
    /** Stores the integer's decimal text; throws like writeText. */
    void writeInteger(const QString& section, const QString& key, int value) const;

    QString readStartDir(const QString& defaultText) const override;
    void writeStartDir(const QString& folder) const override;
    int readDamageScale() const override;
    void writeDamageScale(int percent) const override;
    int readSizeScale() const override;
    void writeSizeScale(int percent) const override;

private:
    QString m_path;
    doc::FileSystem& m_fileSystem;
};

} // namespace shell
