#pragma once
// The record view: which control of the editor window shows which part of a
// record, where it stands, and how a record goes into the controls and back.
// This is the one place a control meets a field; each field's type, and so
// the kind and length of its edit, comes from doc::kFields.

#include "document/object_table.h"
#include "ui/editor_form.h"

#include <array>
#include <string>
#include <vector>

namespace editor {

/** Stand-ins for a field index: the record's name slot, and the record number. */
inline constexpr int kNameField = -1;
inline constexpr int kRecordNumber = -2;

/** One control of the record view. */
struct RecordViewControl {
    int field; // index into doc::kFields, kNameField or kRecordNumber
    ui::FieldGroupId group;
    int row;
    const char* id;
    ui::FieldEdit* ui::EditorForm::*edit; // null for a check box
    ui::FlagCheckBox* ui::EditorForm::*box;
    const char* caption;
    const char* labelId; // null for a check box
    QLabel* ui::EditorForm::*label;
    int labelWidth;
};

/** Every control of the four field groups, in tab order. */
extern const std::array<RecordViewControl, 27> kRecordViewControls;

/** The layout of those controls, each edit's kind and length following its field's type. */
std::vector<ui::FieldControlSpec> recordViewLayout();

/** The control that shows a field (or kNameField). */
const RecordViewControl& controlFor(int field);

/** The order in which showing a record fills the controls. */
inline constexpr std::array<int, 26> kDisplayOrder = {0,  1,  kNameField, 2,  4,  5,  6,  7,  8,
                                                      9,  10, 11,         12, 13, 14, 3,  15, 16,
                                                      17, 18, 19,         20, 21, 22, 23, 24};
/** The order in which the write-back stores the controls: the name, then field by field. */
inline constexpr std::array<int, 26> kWriteBackOrder = {kNameField, 0,  1,  2,  3,  4,  5,  6,  7,
                                                        8,          9,  10, 11, 12, 13, 14, 15, 16,
                                                        17,         18, 19, 20, 21, 22, 23, 24};

/** Puts one field (or the name) of record index into its control, in its text form. */
void showField(ui::EditorForm& form, const doc::ObjectTable& table, int index, int field);

/** What a store does with a control that still shows what showing the record would put there:
 * the write-back keeps the stored value bit for bit; the record commands store every text. */
enum class StoreMode { KeepUnchanged, StoreAll };

/** Stores the controls into name slot and record index in write-back order. Throws
 * doc::ConversionError at the first text that does not convert; what came before it is stored. */
void storeRecordView(const ui::EditorForm& form, doc::ObjectTable& table, int index,
                     StoreMode mode);

/** Puts the record defaults into the controls: each field's default text, both boxes checked,
 * and the name "Empty Object Slot". Float defaults use the user's decimal separator. */
void showRecordDefaults(ui::EditorForm& form);

} // namespace editor
