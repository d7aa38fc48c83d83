#pragma once
// What the document's flows keep between runs: the open dialog's start folder
// and the two scale percentages last applied. The shell's settings file
// implements it; every call reads or writes the store anew.

#include <QString>

namespace editor {

class DocumentSettings {
public:
    virtual ~DocumentSettings() = default;

    /** The stored start folder, or fallback when none is stored. A stored empty text is
     * returned as it is. */
    virtual QString readStartDir(const QString& fallback) const = 0;
    /** Throws doc::Error when the store cannot be written; so do the other writes. */
    virtual void writeStartDir(const QString& folder) const = 0;
    /** The damage percentage last applied, 100 when none is stored. */
    virtual int readDamageScale() const = 0;
    virtual void writeDamageScale(int percent) const = 0;
    /** The size percentage last applied, 100 when none is stored. */
    virtual int readSizeScale() const = 0;
    virtual void writeSizeScale(int percent) const = 0;
};

} // namespace editor
