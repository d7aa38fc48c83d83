#pragma once
// The record view: which control of the editor window shows which part of a
// record, where it stands, and how a record goes into the controls and back.
// This is the one place a control meets a field; each field's type, and so
// the kind and length of its edit, comes from doc::kFields.

#include "document/cell.h"
#include "document/field_table.h"
#include "document/object_table.h"
#include "ui/forms/editor_form.h"

#include <array>
#include <string>
#include <utility>

namespace editor {

using ui::RecordViewControl;

/** Every control of the four field groups, in tab order: the editor window's layout. A new
 * control is one row here. */
extern const std::array<RecordViewControl, 27> kRecordViewControls;

/** The control that shows a part of the record: a field, the name, or the record whole (the
 * record number). */
const RecordViewControl& controlFor(doc::CellPart part);
/** The part a control of the form shows; the record whole for the record number and any other
 * control. */
doc::CellPart partShownBy(const ui::EditorForm& form, const QObject* control);

/** The order in which showing a record fills the controls. */
inline constexpr std::array<doc::CellPart, 26> kDisplayOrder = [] {
    using doc::CellPart;
    namespace f = doc::field;
    const auto field = [](int k) { return CellPart::field(k); };
    return std::array{
        field(f::kClass),     field(f::kType),       CellPart::name(),    field(f::kDamage),
        field(f::kDxNeg),     field(f::kDyNeg),      field(f::kDzNeg),    field(f::kDxPos),
        field(f::kDyPos),     field(f::kDzPos),      field(f::kMaxRange), field(f::kHiRange),
        field(f::kMidRange),  field(f::kLowRange),   field(f::kDotRange), field(f::kDotColor),
        field(f::kDistance),  field(f::kMultiplier), field(f::kSxNeg),    field(f::kSyNeg),
        field(f::kSzNeg),     field(f::kSxPos),      field(f::kSyPos),    field(f::kSzPos),
        field(f::kHasShadow), field(f::kHasFlame)};
}();
/** The order in which the write-back stores the controls: the name, then the fields in record
 * order. */
inline constexpr std::array<doc::CellPart, 26> kWriteBackOrder =
    []<std::size_t... K>(std::index_sequence<K...>) {
    return std::array{doc::CellPart::name(), doc::CellPart::field(static_cast<int>(K))...};
}
(std::make_index_sequence<doc::kFieldCount>());

/** Puts one field (or the name) of record index into its control, in its text form. */
void showField(ui::EditorForm& form, const doc::ObjectTable& table, int index, doc::CellPart part);

/** The write-back's store: the controls into name slot and record index in write-back order. A
 * control that still shows what showing the record would put there keeps the stored value bit
 * for bit. Throws doc::ConversionError at the first text that does not convert; what came
 * before it is stored. */
void storeRecordView(const ui::EditorForm& form, doc::ObjectTable& table, int index);

/** Puts the record defaults into the controls: each field's default text, both boxes checked,
 * and the name "Empty Object Slot". Float defaults use the user's decimal separator. */
void showRecordDefaults(ui::EditorForm& form);

} // namespace editor
