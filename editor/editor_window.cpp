#include "editor/editor_window.h"

#include "editor/document.h"
#include "editor/record_view.h"
#include "tabletext/record_text.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/flag_check_box.h"
#include "ui/controls/percent_spin_box.h"
#include "ui/controls/record_list.h"
#include "ui/dialogs/dialogs.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMimeData>

namespace editor {

TForm6::TForm6(Document& document, QWidget* parent)
    : ui::EditorForm(kRecordViewControls, parent), m_document(document) {
    // Asked only when the clipboard changes: another program may own it, and asking takes a
    // round trip to the display.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        m_clipboardHasText = data && data->hasText();
        syncEditMenu();
    });
    syncRecordViewEnabled();
}

TForm6::~TForm6() = default;

void TForm6::fillRecordList() {
    const doc::ObjectTable& table = m_document.table();
    LMDLB1->clear();
    for (int i = 0; i <= table.lastIndex; ++i)
        LMDLB1->appendRow(m_rowTexts.text(table, i));
}

void TForm6::showSelectedRecord() {
    // Runs ME1Change at once when the text changes, which may move the selection.
    ME1->setFieldText(QString::number(LMDLB1->selectedIndex()));

    m_document.recordShown(LMDLB1->selectedIndex());
    const doc::ObjectTable& table = m_document.table();
    for (const doc::CellPart part : kDisplayOrder) {
        const int index = LMDLB1->selectedIndex();
        if (index < 0 || index > table.lastIndex)
            continue; // nothing to show while the window is hidden and no row is selected
        showField(*this, table, index, part);
    }
    LMDLB1->update();
    syncRecordViewEnabled();
}

void TForm6::selectShownRecordNumber() {
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
    const int last = m_document.table().lastIndex;
    if (n > last) {
        ME1->setFieldText(QString::number(last));
        n = last;
    }
    LMDLB1->setSelectedIndex(n);
    showSelectedRecord();
    LMDLB1->update();
}

void TForm6::editedField(ui::FieldEdit& sender) {
    if (sender.modifiedFlag()) {
        m_document.typingInto(LMDLB1->selectedIndex(), partShownBy(*this, &sender));
        m_document.markUnsaved();
        try {
            me4Exit();
        } catch (...) {
            // Cleared all the same, so the next keystroke in this edit is written back.
            sender.setModifiedFlag(false);
            // What was stored before the failing text is in the history.
            syncEditMenu();
            throw;
        }
    }
    sender.setModifiedFlag(false);
}

void TForm6::toggledFlag(ui::FlagCheckBox& sender) {
    m_document.toggling(LMDLB1->selectedIndex(), partShownBy(*this, &sender));
    m_document.markUnsaved();
    me4Exit();
}

void TForm6::me4Exit() {
    const int index = LMDLB1->selectedIndex();
    if (index < 0 || index > m_document.table().lastIndex) {
        syncRecordViewEnabled();
        return;
    }
    try {
        editor::storeRecordView(*this, m_document.table(), index);
    } catch (...) {
        // The fields before the failing text are stored.
        m_document.recordWrittenBack(index);
        throw;
    }
    m_document.recordWrittenBack(index);
    // The record view keeps the texts as typed; only the selection comes back.
    refillAndSelect(index);
}

void TForm6::syncRecordViewEnabled() {
    const bool selected = LMDLB1->selectedIndex() >= 0;
    for (QGroupBox* group : {LMDGroupBox1, LMDGroupBox2, LMDGroupBox3, LMDGroupBox4})
        group->setEnabled(selected);
    syncEditMenu();
}

void TForm6::syncEditMenu() {
    const bool open = m_document.isOpen();
    const auto name = [open](QAction* item, const QString& verb, const QString& step) {
        item->setEnabled(open && !step.isEmpty());
        item->setText(open && !step.isEmpty() ? verb + u' ' + step : verb);
    };
    name(Undo1, QStringLiteral("Undo"), open ? m_document.undoName() : QString());
    name(Redo1, QStringLiteral("Redo"), open ? m_document.redoName() : QString());
    FindRecord1->setEnabled(open);
    FindNext1->setEnabled(open && !m_findText.isEmpty());
    FindPrevious1->setEnabled(open && !m_findText.isEmpty());
    GoToRecord1->setEnabled(open);
    const bool selected = open && LMDLB1->selectedIndex() >= 0;
    CopyRecord1->setEnabled(selected);
    PasteIntoRecord1->setEnabled(selected && m_clipboardHasText);
    TableView1->setEnabled(open);
    CompareWith1->setEnabled(open);
}

void TForm6::showRow(int row) {
    LMDLB1->setSelectedIndex(row);
    showSelectedRecord();
}

void TForm6::findRecord() {
    const std::optional<QString> text = ui::Dialogs::current().askText(
        this, QStringLiteral("Find Record"),
        QStringLiteral("Find the record whose number, class, type or name contains:"), m_findText);
    if (!text || text->isEmpty())
        return;
    m_findText = *text;
    syncEditMenu();
    findAgain(SearchDirection::Forward);
}

void TForm6::findAgain(SearchDirection direction) {
    if (m_findText.isEmpty())
        return;
    QStringList rows;
    for (int i = 0; i < LMDLB1->rowCount(); ++i)
        rows << LMDLB1->rowText(i);
    const int row = findRow(rows, LMDLB1->selectedIndex(), m_findText, direction);
    if (row < 0) {
        ui::Dialogs::current().information(
            this, QStringLiteral("No record contains \"%1\".").arg(m_findText));
        return;
    }
    showRow(row);
}

void TForm6::goToRecord() {
    const int last = m_document.table().lastIndex;
    const int selected = LMDLB1->selectedIndex();
    const std::optional<QString> text = ui::Dialogs::current().askText(
        this, QStringLiteral("Go to Record"), QStringLiteral("Record number (0 to %1):").arg(last),
        selected >= 0 ? QString::number(selected) : QString());
    if (!text)
        return;
    bool number = false;
    const int row = text->trimmed().toInt(&number);
    if (!number) {
        ui::Dialogs::current().information(
            this, QStringLiteral("\"%1\" is not a record number.").arg(*text));
    } else if (row < 0 || row > last) {
        ui::Dialogs::current().information(
            this,
            QStringLiteral("There is no record %1: the records are 0 to %2.").arg(row).arg(last));
    } else {
        showRow(row);
    }
}

void TForm6::copyRecord() {
    const int row = LMDLB1->selectedIndex();
    if (row < 0)
        return;
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(tabletext::recordsText(m_document.table(), row, row)));
}

void TForm6::showDocument(const QString& dataPath) {
    applyWorkingLayout();
    fillRecordList();
    setWindowTitle(QStringLiteral("Editing ") + dataPath);
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasText = clipboard && clipboard->hasText();
    syncRecordViewEnabled();
}

void TForm6::showUnsaved(bool unsaved) {
    Save1->setEnabled(unsaved);
}

int TForm6::selectedRow() {
    return LMDLB1->selectedIndex();
}

void TForm6::refillAndSelect(int row) {
    fillRecordList();
    LMDLB1->setSelectedIndex(row);
    syncRecordViewEnabled();
}

void TForm6::selectRow(int row) {
    LMDLB1->setSelectedIndex(row);
    syncRecordViewEnabled();
}

void TForm6::showRecordDefaults() {
    editor::showRecordDefaults(*this);
}

QString TForm6::fieldText(int field) {
    return (this->*controlFor(doc::CellPart::field(field)).edit)->fieldText();
}

void TForm6::enterFieldText(int field, const QString& text) {
    ui::FieldEdit* edit = this->*controlFor(doc::CellPart::field(field)).edit;
    edit->setFieldText(text);
    // Marking it modified raises its modified event: one write-back, as a keystroke makes.
    edit->setModifiedFlag(true);
}

void TForm6::showPercentages(ScaleFactors percentages) {
    LMDSE2->setValue(percentages.damage);
    LMDSE1->setValue(percentages.size);
}

ScaleFactors TForm6::percentages() {
    return {LMDSE2->value(), LMDSE1->value()};
}

void TForm6::LMDButton2Click(QObject* /*sender*/) {
    m_document.addRecord();
}

void TForm6::LMDButton3Click() {
    m_document.shapeToShadow();
}

void TForm6::LMDButton4Click() {
    m_document.clearRecord();
}

void TForm6::LMDButton7Click() {
    m_document.scaleAll();
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

void TForm6::runEditItem(void (ui::EditorForm::*handler)()) {
    const Document::Command command(m_document);
    (this->*handler)();
}

void TForm6::Undo1Click() {
    m_document.undo();
}

void TForm6::Redo1Click() {
    m_document.redo();
}

void TForm6::PasteIntoRecord1Click() {
    m_document.pasteRecords(QGuiApplication::clipboard()->text());
}

void TForm6::TableView1Click() {
    if (m_views)
        m_views->showTable(this);
}

void TForm6::CompareWith1Click() {
    const QString path = m_document.chooseDataFile(QStringLiteral("Compare With"));
    if (!path.isEmpty() && m_views)
        m_views->compareWith(path, this);
}

} // namespace editor
