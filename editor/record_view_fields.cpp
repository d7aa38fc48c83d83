#include "editor/record_view_fields.h"

namespace editor {

namespace {
using Form = ui::EditorForm;

constexpr RecordViewControl edit(ui::FieldEdit* Form::*member, int field) {
    return {member, nullptr, field};
}
constexpr RecordViewControl box(ui::FlagCheckBox* Form::*member, int field) {
    return {nullptr, member, field};
}
} // namespace

// Dot colour (field 3) is stored right after the damage although its edit
// stands with the ranges.
const std::array<RecordViewControl, kRecordViewControlCount> kWriteBackOrder = {{
    edit(&Form::me4, kNameField), // 0
    edit(&Form::ME2, 0),          // 1
    edit(&Form::ME3, 1),          // 2
    edit(&Form::ME5, 2),          // 3
    edit(&Form::me17, 3),         // 4
    edit(&Form::me6, 4),          // 5
    edit(&Form::me7, 5),          edit(&Form::me8, 6),   edit(&Form::me9, 7),
    edit(&Form::me10, 8),         edit(&Form::me11, 9), // 10
    edit(&Form::me12, 10),                              // 11
    edit(&Form::me13, 11),        edit(&Form::me14, 12), edit(&Form::me15, 13),
    edit(&Form::me16, 14), // 15
    edit(&Form::me18, 15), // 16
    edit(&Form::me19, 16), // 17
    edit(&Form::me20, 17), // 18
    edit(&Form::me21, 18),        edit(&Form::me22, 19), edit(&Form::me23, 20),
    edit(&Form::me24, 21),        edit(&Form::me25, 22), // 23
    box(&Form::cb1, 23),                                 // 24
    box(&Form::cb2, 24),                                 // 25
}};

const std::array<std::size_t, kRecordViewControlCount> kDisplayOrder = {
    1,  2,  0,  3,          // ME2, ME3, me4, ME5
    5,  6,  7,  8,  9,  10, // me6..me11
    11, 12, 13, 14, 15,     // me12..me16
    4,  16, 17,             // me17, me18, me19
    18, 19, 20, 21, 22, 23, // me20..me25
    24, 25,                 // cb1, cb2
};

} // namespace editor
