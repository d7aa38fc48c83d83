#include "editor/record_view.h"

#include "codepage/windows1252.h"
#include "document/field_table.h"
#include "document/text_forms.h"
#include "editor/record_texts.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/flag_check_box.h"
#include "ui/decimal_separator.h"

#include <QLabel>

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace editor {

namespace {

using Form = ui::EditorForm;
using Group = ui::FieldGroupId;
using Kind = ui::FieldEdit::Kind;
namespace field = doc::field;

// The integer edits hold a whole 32-bit value, unsigned or typed negative; the record number
// never needs more than six characters.
constexpr int kIntegerLength = 11;
constexpr int kDecimalLength = 11;
constexpr int kRecordNumberLength = 6;

constexpr const doc::FieldInfo& fieldInfo(doc::CellPart part) {
    return doc::kFields[static_cast<std::size_t>(part.field())];
}

/** An edit, its kind and length following what it shows: a field's type, the name or the
 * record number. */
constexpr RecordViewControl edit(doc::CellPart part, Group group, int row, const char* id,
                                 ui::FieldEdit* Form::*member, const char* labelId,
                                 QLabel* Form::*label, int labelWidth) {
    Kind kind = Kind::Integer;
    int length = kIntegerLength;
    if (part.isWholeRecord()) {
        kind = Kind::RecordNumber;
        length = kRecordNumberLength;
    } else if (part.isName()) {
        kind = Kind::Name;
        length = doc::kMaxNameLength;
    } else if (fieldInfo(part).type == doc::FieldType::Float) {
        kind = Kind::Decimal;
        length = kDecimalLength;
    }
    return {
        part,    group, row,       id, member, nullptr, kind, length, doc::captionOf(part).data(),
        labelId, label, labelWidth};
}
/** A flag's check box, which carries its own caption. */
constexpr RecordViewControl box(int field, int row, const char* id,
                                ui::FlagCheckBox* Form::*member) {
    const doc::CellPart part = doc::CellPart::field(field);
    return {part,
            Group::Basic,
            row,
            id,
            nullptr,
            member,
            Kind::Integer,
            0,
            doc::captionOf(part).data(),
            nullptr,
            nullptr,
            0};
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

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

// Screen order, which is tab order: "Dot Color:" stands with the ranges, and the labels are
// numbered as the layout was first drawn, not by row.
constexpr std::array<RecordViewControl, 27> kRecordViewControls = {{
    edit(doc::CellPart::wholeRecord(), Group::Basic, 0, "ME1", &Form::ME1, "LMDSimpleLabel1",
         &Form::LMDSimpleLabel1, 47),
    edit(doc::CellPart::field(field::kClass), Group::Basic, 1, "ME2", &Form::ME2, "LMDSimpleLabel2",
         &Form::LMDSimpleLabel2, 30),
    edit(doc::CellPart::field(field::kType), Group::Basic, 2, "ME3", &Form::ME3, "LMDSimpleLabel3",
         &Form::LMDSimpleLabel3, 29),
    edit(doc::CellPart::name(), Group::Basic, 3, "me4", &Form::me4, "LMDSimpleLabel4",
         &Form::LMDSimpleLabel4, 67),
    edit(doc::CellPart::field(field::kDamage), Group::Basic, 5, "ME5", &Form::ME5,
         "LMDSimpleLabel5", &Form::LMDSimpleLabel5, 45),
    box(field::kHasShadow, 6, "cb1", &Form::cb1),
    box(field::kHasFlame, 7, "cb2", &Form::cb2),

    edit(doc::CellPart::field(field::kDxNeg), Group::Shape, 0, "me6", &Form::me6, "LMDSimpleLabel6",
         &Form::LMDSimpleLabel6, 46),
    edit(doc::CellPart::field(field::kDyNeg), Group::Shape, 1, "me7", &Form::me7, "LMDSimpleLabel7",
         &Form::LMDSimpleLabel7, 46),
    edit(doc::CellPart::field(field::kDzNeg), Group::Shape, 2, "me8", &Form::me8, "LMDSimpleLabel8",
         &Form::LMDSimpleLabel8, 46),
    edit(doc::CellPart::field(field::kDxPos), Group::Shape, 3, "me9", &Form::me9, "LMDSimpleLabel9",
         &Form::LMDSimpleLabel9, 45),
    edit(doc::CellPart::field(field::kDyPos), Group::Shape, 4, "me10", &Form::me10,
         "LMDSimpleLabel10", &Form::LMDSimpleLabel10, 46),
    edit(doc::CellPart::field(field::kDzPos), Group::Shape, 5, "me11", &Form::me11,
         "LMDSimpleLabel11", &Form::LMDSimpleLabel11, 45),

    edit(doc::CellPart::field(field::kMaxRange), Group::Range, 0, "me12", &Form::me12,
         "LMDSimpleLabel23", &Form::LMDSimpleLabel23, 60),
    edit(doc::CellPart::field(field::kHiRange), Group::Range, 1, "me13", &Form::me13,
         "LMDSimpleLabel22", &Form::LMDSimpleLabel22, 50),
    edit(doc::CellPart::field(field::kMidRange), Group::Range, 2, "me14", &Form::me14,
         "LMDSimpleLabel21", &Form::LMDSimpleLabel21, 57),
    edit(doc::CellPart::field(field::kLowRange), Group::Range, 3, "me15", &Form::me15,
         "LMDSimpleLabel20", &Form::LMDSimpleLabel20, 60),
    edit(doc::CellPart::field(field::kDotRange), Group::Range, 4, "me16", &Form::me16,
         "LMDSimpleLabel19", &Form::LMDSimpleLabel19, 57),
    edit(doc::CellPart::field(field::kDotColor), Group::Range, 5, "me17", &Form::me17,
         "LMDSimpleLabel18", &Form::LMDSimpleLabel18, 49),
    edit(doc::CellPart::field(field::kDistance), Group::Range, 6, "me18", &Form::me18,
         "LMDSimpleLabel24", &Form::LMDSimpleLabel24, 47),
    edit(doc::CellPart::field(field::kMultiplier), Group::Range, 7, "me19", &Form::me19,
         "LMDSimpleLabel25", &Form::LMDSimpleLabel25, 46),

    edit(doc::CellPart::field(field::kSxNeg), Group::Shadow, 0, "me20", &Form::me20,
         "LMDSimpleLabel13", &Form::LMDSimpleLabel13, 45),
    edit(doc::CellPart::field(field::kSyNeg), Group::Shadow, 1, "me21", &Form::me21,
         "LMDSimpleLabel12", &Form::LMDSimpleLabel12, 45),
    edit(doc::CellPart::field(field::kSzNeg), Group::Shadow, 2, "me22", &Form::me22,
         "LMDSimpleLabel14", &Form::LMDSimpleLabel14, 45),
    edit(doc::CellPart::field(field::kSxPos), Group::Shadow, 3, "me23", &Form::me23,
         "LMDSimpleLabel15", &Form::LMDSimpleLabel15, 44),
    edit(doc::CellPart::field(field::kSyPos), Group::Shadow, 4, "me24", &Form::me24,
         "LMDSimpleLabel16", &Form::LMDSimpleLabel16, 46),
    edit(doc::CellPart::field(field::kSzPos), Group::Shadow, 5, "me25", &Form::me25,
         "LMDSimpleLabel17", &Form::LMDSimpleLabel17, 44),
}};

const RecordViewControl& controlFor(doc::CellPart part) {
    const auto it =
        std::find_if(kRecordViewControls.begin(), kRecordViewControls.end(),
                     [part](const RecordViewControl& control) { return control.part == part; });
    if (it == kRecordViewControls.end())
        throw std::out_of_range("no control shows part " + std::to_string(part.code()));
    return *it;
}

doc::CellPart partShownBy(const ui::EditorForm& form, const QObject* control) {
    for (const RecordViewControl& spec : kRecordViewControls) {
        const QObject* shown = spec.box ? static_cast<const QObject*>(form.*spec.box)
                                        : static_cast<const QObject*>(form.*spec.edit);
        if (shown == control)
            return spec.part;
    }
    return doc::CellPart::wholeRecord();
}

void showField(ui::EditorForm& form, const doc::ObjectTable& table, int index, doc::CellPart part) {
    const RecordViewControl& control = controlFor(part);
    const auto at = static_cast<std::size_t>(index);
    if (control.box) {
        (form.*control.box)
            ->setCheckedByProgram(
                table.records[at].fields[static_cast<std::size_t>(part.field())] == 1);
    } else if (part.isName()) {
        (form.*control.edit)->setFieldText(nameText(table.names[at]));
    } else {
        (form.*control.edit)
            ->setFieldText(displayText(table.records[at], part.field(), ui::decimalSeparatorUtf8()));
    }
}

void storeRecordView(const ui::EditorForm& form, doc::ObjectTable& table, int index) {
    auto& record = table.records[static_cast<std::size_t>(index)];
    auto& slot = table.names[static_cast<std::size_t>(index)];
    const std::string separator = ui::decimalSeparatorUtf8();

    for (const doc::CellPart part : kWriteBackOrder) {
        const RecordViewControl& control = controlFor(part);
        if (control.box) {
            auto& bits = record.fields[static_cast<std::size_t>(part.field())];
            const bool checked = (form.*control.box)->isChecked();
            if (checked != (bits == 1))
                bits = checked ? 1U : 0U;
            continue;
        }
        const ui::FieldEdit& edit = *(form.*control.edit);
        const QString text = edit.fieldText();
        if (part.isName()) {
            if (text != cut(nameText(slot), edit))
                doc::writeNameSlot(slot, storableName(text));
            continue;
        }
        if (text == cut(displayText(record, part.field(), separator), edit))
            continue;
        auto& bits = record.fields[static_cast<std::size_t>(part.field())];
        if (fieldInfo(part).type == doc::FieldType::Float)
            bits = std::bit_cast<std::uint32_t>(doc::parseFloat(text.toStdString(), separator));
        else
            bits = doc::parseInt32Bits(text.toStdString());
    }
}

void showRecordDefaults(ui::EditorForm& form) {
    const QString separator = ui::decimalSeparator();
    for (const doc::CellPart part : kDisplayOrder) {
        const RecordViewControl& control = controlFor(part);
        if (control.box) {
            (form.*control.box)->setCheckedByProgram(true);
            continue;
        }
        QString text =
            latin1(part.isName() ? doc::kDefaultObjectName : fieldInfo(part).defaultText);
        // "0.0" is written with the user's separator, so that it reads back on every locale.
        if (!part.isName() && fieldInfo(part).type == doc::FieldType::Float)
            text.replace(u'.', separator);
        (form.*control.edit)->setFieldText(text);
    }
}

} // namespace editor
