#include "editor/editor_window.h"

#include "document/errors.h"
#include "document/field_table.h"
#include "document/file_session.h"
#include "document/text_forms.h"
#include "editor/record_texts.h"
#include "editor/record_view_fields.h"
#include "ui/field_edit.h"
#include "ui/flag_check_box.h"
#include "ui/record_list.h"

#include <QAction>
#include <QGroupBox>

namespace editor {

namespace {
QString cut(const QString& text, const ui::FieldEdit& edit) {
    return edit.fieldMaxLength() > 0 ? text.left(edit.fieldMaxLength()) : text;
}

// Characters the code page cannot hold are stored as "?", as the system's
// conversion to the code page does.
std::u32string storableName(const QString& text) {
    std::u32string name = text.toStdU32String();
    for (char32_t& ch : name) {
        if (!doc::unicodeToCp1252(ch))
            ch = U'?';
    }
    return name;
}
} // namespace

TForm6::TForm6(doc::FileSession& session, QWidget* parent)
    : ui::EditorForm(parent), m_session(session) {
    syncRecordViewEnabled();
}

void TForm6::LMDButton1Click() {
    const doc::ObjectTable& table = m_session.table();
    LMDLB1->clear();
    for (int i = 0; i <= table.lastIndex; ++i)
        LMDLB1->appendRow(m_rowTexts.text(table, i));
}

void TForm6::LMDLB1Click() {
    // Runs ME1Change at once when the text changes, which may move the selection.
    ME1->setFieldText(QString::number(LMDLB1->selectedIndex()));

    const doc::ObjectTable& table = m_session.table();
    const std::string separator = decimalSeparator();
    for (const std::size_t position : kDisplayOrder) {
        const RecordViewControl& control = kWriteBackOrder[position];
        // The selection is read anew for every control.
        const int index = LMDLB1->selectedIndex();
        if (index < 0 || index > table.lastIndex)
            continue; // nothing to show while the window is hidden and no row is selected
        const auto& record = table.records[static_cast<std::size_t>(index)];
        if (control.box) {
            (this->*control.box)
                ->setCheckedByProgram(record.fields[static_cast<std::size_t>(control.field)] == 1);
        } else if (control.field == kNameField) {
            (this->*control.edit)
                ->setFieldText(nameText(table.names[static_cast<std::size_t>(index)]));
        } else {
            (this->*control.edit)->setFieldText(fieldText(record, control.field, separator));
        }
    }
    LMDLB1->update();
    syncRecordViewEnabled();
}

void TForm6::ME1Change(ui::FieldEdit& /*sender*/) {
    if (!isVisible())
        return;
    // Each correction of the text runs this handler once more, nested.
    if (ME1->fieldText().isEmpty())
        ME1->setFieldText(QStringLiteral("0"));
    int n = ME1->fieldText().toInt();
    if (n < 0) {
        ME1->setFieldText(QStringLiteral("0"));
        n = 0;
    }
    const int last = m_session.table().lastIndex;
    if (n > last) {
        ME1->setFieldText(QString::number(last));
        n = last;
    }
    LMDLB1->setSelectedIndex(n);
    LMDLB1Click();
    LMDLB1->update();
}

void TForm6::ME4Modified(ui::FieldEdit& sender) {
    modified(sender);
}

void TForm6::ME5Modified(ui::FieldEdit& sender) {
    modified(sender);
}

void TForm6::modified(ui::FieldEdit& sender) {
    if (sender.modifiedFlag()) {
        Save1->setEnabled(true);
        try {
            me4Exit();
        } catch (...) {
            // Cleared all the same, so the next keystroke in this edit is written back.
            sender.setModifiedFlag(false);
            throw;
        }
    }
    sender.setModifiedFlag(false);
}

void TForm6::cb1Change(ui::FlagCheckBox& /*sender*/) {
    Save1->setEnabled(true);
    me4Exit();
}

void TForm6::cb2Change(ui::FlagCheckBox& /*sender*/) {
    Save1->setEnabled(true);
    me4Exit();
}

void TForm6::me4Exit() {
    const int index = LMDLB1->selectedIndex();
    if (index < 0 || index > m_session.table().lastIndex) {
        syncRecordViewEnabled();
        return;
    }
    storeRecordView(index);
    LMDButton1Click();
    // The record view keeps the texts as typed; only the selection comes back.
    LMDLB1->setSelectedIndex(index);
    syncRecordViewEnabled();
}

// A control that still shows what showing the record now would put there
// keeps the stored value bit for bit: browsing and editing one field must not
// round floats to two decimals, cut long integers or turn a flag of 2 into 0.
void TForm6::storeRecordView(int index) {
    doc::ObjectTable& table = m_session.table();
    auto& record = table.records[static_cast<std::size_t>(index)];
    auto& slot = table.names[static_cast<std::size_t>(index)];
    const std::string separator = decimalSeparator();

    for (const RecordViewControl& control : kWriteBackOrder) {
        if (control.box) {
            auto& bits = record.fields[static_cast<std::size_t>(control.field)];
            const bool checked = (this->*control.box)->isChecked();
            if (checked != (bits == 1))
                bits = checked ? 1U : 0U;
            continue;
        }
        const ui::FieldEdit& edit = *(this->*control.edit);
        const QString text = edit.fieldText();
        if (control.field == kNameField) {
            if (text != cut(nameText(slot), edit))
                doc::writeNameSlot(slot, storableName(text));
            continue;
        }
        if (text == cut(fieldText(record, control.field, separator), edit))
            continue;
        auto& bits = record.fields[static_cast<std::size_t>(control.field)];
        if (doc::kFields[static_cast<std::size_t>(control.field)].type == doc::FieldType::Float)
            bits = std::bit_cast<std::uint32_t>(doc::parseFloat(text.toStdString(), separator));
        else
            bits = doc::parseInteger(text.toStdString());
    }
}

void TForm6::syncRecordViewEnabled() {
    const bool selected = LMDLB1->selectedIndex() >= 0;
    for (QGroupBox* group : {LMDGroupBox1, LMDGroupBox2, LMDGroupBox3, LMDGroupBox4})
        group->setEnabled(selected);
}

void TForm6::Open1Click() {
    if (m_commands)
        m_commands->Open1Click(this);
}

void TForm6::Save1Click() {
    if (m_commands)
        m_commands->Save1Click(this);
}

void TForm6::Notes1Click() {
    if (m_commands)
        m_commands->Notes1Click(this);
}

void TForm6::About1Click() {
    if (m_commands)
        m_commands->About1Click(this);
}

void TForm6::FormClose() {
    if (m_commands)
        m_commands->FormClose(this);
}

} // namespace editor
