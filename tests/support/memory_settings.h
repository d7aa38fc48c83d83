#pragma once
// Settings kept in memory, for tests of the document's flows that need no
// settings file. A write can be made to fail, as a full disk would.

#include "document/errors.h"
#include "editor/document_settings.h"

#include <optional>

namespace testsupport {

class MemorySettings : public editor::DocumentSettings {
public:
    // The store behind the const interface, as a file on disk would be.
    mutable std::optional<QString> startDir;
    mutable std::optional<int> damageScale;
    mutable std::optional<int> sizeScale;
    /** Every write throws "Unable to write to memory" while set. */
    bool failWrites = false;

    QString readStartDir(const QString& fallback) const override {
        return startDir.value_or(fallback);
    }
    void writeStartDir(const QString& folder) const override {
        write();
        startDir = folder;
    }
    int readDamageScale() const override { return damageScale.value_or(100); }
    void writeDamageScale(int percent) const override {
        write();
        damageScale = percent;
    }
    int readSizeScale() const override { return sizeScale.value_or(100); }
    void writeSizeScale(int percent) const override {
        write();
        sizeScale = percent;
    }

private:
    void write() const {
        if (failWrites)
            throw doc::Error("Unable to write to memory");
    }
};

} // namespace testsupport
