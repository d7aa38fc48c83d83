#pragma once
// Which control of the record view shows which part of a record. This is the
// one place that ties controls to fields; types and defaults come from
// doc::kFields.

#include "ui/editor_form.h"

#include <array>
#include <cstddef>

namespace editor {

/** The field index standing for the record's name slot. */
inline constexpr int kNameField = -1;

/** One control of the record view: an edit or a check box of the window, and what it shows. */
struct RecordViewControl {
    ui::FieldEdit* ui::EditorForm::*edit = nullptr;
    ui::FlagCheckBox* ui::EditorForm::*box = nullptr;
    int field = kNameField; // index into doc::kFields, or kNameField
};

inline constexpr std::size_t kRecordViewControlCount = 26;

/** Every control of the record view in write-back order: the name, ME2, ME3, ME5, me17,
 * me6..me11, me12..me16, me18, me19, me20..me25, cb1, cb2. */
extern const std::array<RecordViewControl, kRecordViewControlCount> kWriteBackOrder;

/** The order in which showing a record fills the controls (positions in kWriteBackOrder):
 * ME2, ME3, me4, ME5, me6..me11, me12..me16, me17, me18, me19, me20..me25, cb1, cb2. */
extern const std::array<std::size_t, kRecordViewControlCount> kDisplayOrder;

} // namespace editor
