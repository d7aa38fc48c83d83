#pragma once
// The texts the editor window shows for the parts of a record: row texts of
// the record list and the display texts of the record view.

#include "document/name_codec.h"
#include "document/object_table.h"

#include <QString>

#include <string>

namespace editor {

/** The name held by a slot. */
QString nameText(const doc::NameSlot& slot);

/** A field as the record view shows it: unsigned decimal, two decimals, or "1"/"0" for a flag. */
QString displayText(const doc::ObjectRecord& record, int field, const std::string& separator);

/** The record list's row of record index (doc::rowText). */
QString rowText(const doc::ObjectTable& table, int index);

} // namespace editor
