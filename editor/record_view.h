#pragma once
// The record view: which control of the editor window shows which part of a
// record, where it stands, and how a record goes into the controls and back.
// This is the one place a control meets a field; each field's type, and so
// the kind and length of its edit, comes from doc::kFields.

#include "document/field_table.h"
#include "document/object_table.h"
#include "ui/forms/editor_form.h"

#include <array>
#include <string>

namespace editor {

/** Stand-ins for a field index: the record's name slot, and the record number. */
inline constexpr int kNameField = -1;
inline constexpr int kRecordNumber = -2;

using ui::RecordViewControl;

/** Every control of the four field groups, in tab order: the editor window's layout. A new
 * control is one row here. */
extern const std::array<RecordViewControl, 27> kRecordViewControls;

/** The control that shows a field (or kNameField). */
const RecordViewControl& controlFor(int field);
/** The field (or kNameField) a control of the form shows; kRecordNumber for any other. */
int fieldShownBy(const ui::EditorForm& form, const QObject* control);
/** A field's caption without its colon, as the history names it: "Damage", "Object Name". */
QString fieldCaption(int field);

/** The order in which showing a record fills the controls. */
inline constexpr std::array<int, 26> kDisplayOrder = {
    doc::field::kClass,     doc::field::kType,     kNameField,
    doc::field::kDamage,    doc::field::kDxNeg,    doc::field::kDyNeg,
    doc::field::kDzNeg,     doc::field::kDxPos,    doc::field::kDyPos,
    doc::field::kDzPos,     doc::field::kMaxRange, doc::field::kHiRange,
    doc::field::kMidRange,  doc::field::kLowRange, doc::field::kDotRange,
    doc::field::kDotColor,  doc::field::kDistance, doc::field::kMultiplier,
    doc::field::kSxNeg,     doc::field::kSyNeg,    doc::field::kSzNeg,
    doc::field::kSxPos,     doc::field::kSyPos,    doc::field::kSzPos,
    doc::field::kHasShadow, doc::field::kHasFlame};
/** The order in which the write-back stores the controls: the name, then field by field. */
inline constexpr std::array<int, 26> kWriteBackOrder = {kNameField,
                                                        doc::field::kClass,
                                                        doc::field::kType,
                                                        doc::field::kDamage,
                                                        doc::field::kDotColor,
                                                        doc::field::kDxNeg,
                                                        doc::field::kDyNeg,
                                                        doc::field::kDzNeg,
                                                        doc::field::kDxPos,
                                                        doc::field::kDyPos,
                                                        doc::field::kDzPos,
                                                        doc::field::kMaxRange,
                                                        doc::field::kHiRange,
                                                        doc::field::kMidRange,
                                                        doc::field::kLowRange,
                                                        doc::field::kDotRange,
                                                        doc::field::kDistance,
                                                        doc::field::kMultiplier,
                                                        doc::field::kSxNeg,
                                                        doc::field::kSyNeg,
                                                        doc::field::kSzNeg,
                                                        doc::field::kSxPos,
                                                        doc::field::kSyPos,
                                                        doc::field::kSzPos,
                                                        doc::field::kHasShadow,
                                                        doc::field::kHasFlame};

/** Puts one field (or the name) of record index into its control, in its text form. */
void showField(ui::EditorForm& form, const doc::ObjectTable& table, int index, int field);

/** The write-back's store: the controls into name slot and record index in write-back order. A
 * control that still shows what showing the record would put there keeps the stored value bit
 * for bit. Throws doc::ConversionError at the first text that does not convert; what came
 * before it is stored. */
void storeRecordView(const ui::EditorForm& form, doc::ObjectTable& table, int index);

/** Puts the record defaults into the controls: each field's default text, both boxes checked,
 * and the name "Empty Object Slot". Float defaults use the user's decimal separator. */
void showRecordDefaults(ui::EditorForm& form);

} // namespace editor
