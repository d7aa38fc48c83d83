#include "editor/record_view.h"

#include "codepage/windows1252.h"
#include "document/field_table.h"
#include "document/text_forms.h"
#include "editor/record_texts.h"
#include "ui/field_edit.h"
#include "ui/flag_check_box.h"

#include <QLabel>

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace editor {

namespace {

using Form = ui::EditorForm;
using Group = ui::FieldGroupId;

constexpr RecordViewControl edit(int field, Group group, int row, const char* id,
                                 ui::FieldEdit* Form::*member, const char* caption,
                                 const char* labelId, QLabel* Form::*label, int labelWidth) {
    return {field, group, row, id, member, nullptr, caption, labelId, label, labelWidth};
}
constexpr RecordViewControl box(int field, int row, const char* id, ui::FlagCheckBox* Form::*member,
                                const char* caption) {
    return {field, Group::Basic, row, id, nullptr, member, caption, nullptr, nullptr, 0};
}

// The integer edits hold a whole 32-bit value, unsigned or typed negative; the record number
// never needs more than six characters.
constexpr int kIntegerLength = 11;
constexpr int kDecimalLength = 11;
constexpr int kNameLength = 29;
constexpr int kRecordNumberLength = 6;

const doc::FieldInfo& fieldInfo(int field) {
    return doc::kFields[static_cast<std::size_t>(field)];
}

ui::FieldControlSpec layoutOf(const RecordViewControl& control) {
    ui::FieldEdit::Kind kind = ui::FieldEdit::Kind::Integer;
    int length = 0;
    if (control.field == kRecordNumber) {
        kind = ui::FieldEdit::Kind::RecordNumber;
        length = kRecordNumberLength;
    } else if (control.field == kNameField) {
        kind = ui::FieldEdit::Kind::Name;
        length = kNameLength;
    } else if (fieldInfo(control.field).type == doc::FieldType::Float) {
        kind = ui::FieldEdit::Kind::Decimal;
        length = kDecimalLength;
    } else if (fieldInfo(control.field).type == doc::FieldType::Unsigned) {
        length = kIntegerLength;
    }
    return {control.group, control.row,     control.id,      control.edit,  control.box,       kind,
            length,        control.caption, control.labelId, control.label, control.labelWidth};
}

// Characters the code page cannot hold are stored as "?", as the system's conversion to the
// code page does.
std::u32string storableName(const QString& text) {
    std::u32string name = text.toStdU32String();
    for (char32_t& ch : name) {
        if (!cp1252::fromUnicode(ch))
            ch = U'?';
    }
    return name;
}

QString cut(const QString& text, const ui::FieldEdit& edit) {
    return edit.fieldMaxLength() > 0 ? text.left(edit.fieldMaxLength()) : text;
}

} // namespace

// Screen order, which is tab order: "Dot Color:" (field 3) stands with the ranges, and the
// labels are numbered as the layout was first drawn, not by row.
const std::array<RecordViewControl, 27> kRecordViewControls = {{
    edit(kRecordNumber, Group::Basic, 0, "ME1", &Form::ME1, "Record#:", "LMDSimpleLabel1",
         &Form::LMDSimpleLabel1, 47),
    edit(0, Group::Basic, 1, "ME2", &Form::ME2, "Class:", "LMDSimpleLabel2", &Form::LMDSimpleLabel2,
         30),
    edit(1, Group::Basic, 2, "ME3", &Form::ME3, "Type:", "LMDSimpleLabel3", &Form::LMDSimpleLabel3,
         29),
    edit(kNameField, Group::Basic, 3, "me4", &Form::me4, "Object Name:", "LMDSimpleLabel4",
         &Form::LMDSimpleLabel4, 67),
    edit(2, Group::Basic, 5, "ME5", &Form::ME5, "Damage:", "LMDSimpleLabel5",
         &Form::LMDSimpleLabel5, 45),
    box(23, 6, "cb1", &Form::cb1, "Has Shadow:"),
    box(24, 7, "cb2", &Form::cb2, "Has Flame:"),

    edit(4, Group::Shape, 0, "me6", &Form::me6, "DX NEG:", "LMDSimpleLabel6",
         &Form::LMDSimpleLabel6, 46),
    edit(5, Group::Shape, 1, "me7", &Form::me7, "DY NEG:", "LMDSimpleLabel7",
         &Form::LMDSimpleLabel7, 46),
    edit(6, Group::Shape, 2, "me8", &Form::me8, "DZ NEG:", "LMDSimpleLabel8",
         &Form::LMDSimpleLabel8, 46),
    edit(7, Group::Shape, 3, "me9", &Form::me9, "DX POS:", "LMDSimpleLabel9",
         &Form::LMDSimpleLabel9, 45),
    edit(8, Group::Shape, 4, "me10", &Form::me10, "DY POS:", "LMDSimpleLabel10",
         &Form::LMDSimpleLabel10, 46),
    edit(9, Group::Shape, 5, "me11", &Form::me11, "DZ POS:", "LMDSimpleLabel11",
         &Form::LMDSimpleLabel11, 45),

    edit(10, Group::Range, 0, "me12", &Form::me12, "Max Range:", "LMDSimpleLabel23",
         &Form::LMDSimpleLabel23, 60),
    edit(11, Group::Range, 1, "me13", &Form::me13, "Hi Range:", "LMDSimpleLabel22",
         &Form::LMDSimpleLabel22, 50),
    edit(12, Group::Range, 2, "me14", &Form::me14, "Mid Range:", "LMDSimpleLabel21",
         &Form::LMDSimpleLabel21, 57),
    edit(13, Group::Range, 3, "me15", &Form::me15, "Low Range:", "LMDSimpleLabel20",
         &Form::LMDSimpleLabel20, 60),
    edit(14, Group::Range, 4, "me16", &Form::me16, "Dot Range:", "LMDSimpleLabel19",
         &Form::LMDSimpleLabel19, 57),
    edit(3, Group::Range, 5, "me17", &Form::me17, "Dot Color:", "LMDSimpleLabel18",
         &Form::LMDSimpleLabel18, 49),
    edit(15, Group::Range, 6, "me18", &Form::me18, "Distance:", "LMDSimpleLabel24",
         &Form::LMDSimpleLabel24, 47),
    edit(16, Group::Range, 7, "me19", &Form::me19, "Multiplier:", "LMDSimpleLabel25",
         &Form::LMDSimpleLabel25, 46),

    edit(17, Group::Shadow, 0, "me20", &Form::me20, "SX NEG:", "LMDSimpleLabel13",
         &Form::LMDSimpleLabel13, 45),
    edit(18, Group::Shadow, 1, "me21", &Form::me21, "SY NEG:", "LMDSimpleLabel12",
         &Form::LMDSimpleLabel12, 45),
    edit(19, Group::Shadow, 2, "me22", &Form::me22, "SZ NEG:", "LMDSimpleLabel14",
         &Form::LMDSimpleLabel14, 45),
    edit(20, Group::Shadow, 3, "me23", &Form::me23, "SX POS:", "LMDSimpleLabel15",
         &Form::LMDSimpleLabel15, 44),
    edit(21, Group::Shadow, 4, "me24", &Form::me24, "SY POS:", "LMDSimpleLabel16",
         &Form::LMDSimpleLabel16, 46),
    edit(22, Group::Shadow, 5, "me25", &Form::me25, "SZ POS:", "LMDSimpleLabel17",
         &Form::LMDSimpleLabel17, 44),
}};

std::vector<ui::FieldControlSpec> recordViewLayout() {
    std::vector<ui::FieldControlSpec> layout;
    for (const RecordViewControl& control : kRecordViewControls)
        layout.push_back(layoutOf(control));
    return layout;
}

const RecordViewControl& controlFor(int field) {
    const auto it =
        std::find_if(kRecordViewControls.begin(), kRecordViewControls.end(),
                     [field](const RecordViewControl& control) { return control.field == field; });
    if (it == kRecordViewControls.end())
        throw std::out_of_range("no control shows field " + std::to_string(field));
    return *it;
}

void showField(ui::EditorForm& form, const doc::ObjectTable& table, int index, int field) {
    const RecordViewControl& control = controlFor(field);
    const auto at = static_cast<std::size_t>(index);
    if (control.box) {
        (form.*control.box)
            ->setCheckedByProgram(table.records[at].fields[static_cast<std::size_t>(field)] == 1);
    } else if (field == kNameField) {
        (form.*control.edit)->setFieldText(nameText(table.names[at]));
    } else {
        (form.*control.edit)->setFieldText(fieldText(table.records[at], field, decimalSeparator()));
    }
}

void storeRecordView(const ui::EditorForm& form, doc::ObjectTable& table, int index,
                     StoreMode mode) {
    auto& record = table.records[static_cast<std::size_t>(index)];
    auto& slot = table.names[static_cast<std::size_t>(index)];
    const std::string separator = decimalSeparator();
    const bool storeAll = mode == StoreMode::StoreAll;

    for (const int field : kWriteBackOrder) {
        const RecordViewControl& control = controlFor(field);
        if (control.box) {
            auto& bits = record.fields[static_cast<std::size_t>(field)];
            const bool checked = (form.*control.box)->isChecked();
            if (storeAll || checked != (bits == 1))
                bits = checked ? 1U : 0U;
            continue;
        }
        const ui::FieldEdit& edit = *(form.*control.edit);
        const QString text = edit.fieldText();
        if (field == kNameField) {
            if (storeAll || text != cut(nameText(slot), edit))
                doc::writeNameSlot(slot, storableName(text));
            continue;
        }
        if (!storeAll && text == cut(fieldText(record, field, separator), edit))
            continue;
        auto& bits = record.fields[static_cast<std::size_t>(field)];
        if (fieldInfo(field).type == doc::FieldType::Float)
            bits = std::bit_cast<std::uint32_t>(doc::parseFloat(text.toStdString(), separator));
        else
            bits = doc::parseInt32Bits(text.toStdString());
    }
}

void showRecordDefaults(ui::EditorForm& form) {
    const QString separator = QString::fromStdString(decimalSeparator());
    for (const int field : kDisplayOrder) {
        const RecordViewControl& control = controlFor(field);
        if (control.box) {
            (form.*control.box)->setCheckedByProgram(true);
            continue;
        }
        QString text;
        if (field == kNameField)
            text = QString::fromLatin1(doc::kDefaultObjectName.data(),
                                       static_cast<qsizetype>(doc::kDefaultObjectName.size()));
        else
            text = QString::fromLatin1(fieldInfo(field).defaultText.data(),
                                       static_cast<qsizetype>(fieldInfo(field).defaultText.size()));
        // "0.0" is written with the user's separator, so that it reads back on every locale.
        if (field != kNameField && fieldInfo(field).type == doc::FieldType::Float)
            text.replace(u'.', separator);
        (form.*control.edit)->setFieldText(text);
    }
}

} // namespace editor
