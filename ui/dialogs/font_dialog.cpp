#include "ui/dialogs/font_dialog.h"

#include "ui/user_action.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace ui {

namespace {

struct NamedColour {
    const char* name;
    QRgb rgb;
};

// The sixteen colours a font dialog has always offered for text.
constexpr NamedColour kColours[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};

enum Style { Regular, Italic, Bold, BoldItalic };

/** A font's size in whole points, also for a font sized in pixels (at 96 dots per inch). */
int pointsOf(const QFont& font) {
    if (font.pointSizeF() > 0)
        return qRound(font.pointSizeF());
    return static_cast<int>(std::lround(font.pixelSize() * 72.0 / 96.0));
}

} // namespace

FontDialog::FontDialog(const Dialogs::FontChoice& initial, Dialogs::FontApply apply,
                       QWidget* parent)
    : QDialog(parent), m_apply(std::move(apply)) {
    setObjectName(QStringLiteral("FontDlg1"));
    setWindowTitle(tr("Font"));

    family = new QFontComboBox;
    family->setFontFilters(QFontComboBox::ScalableFonts);
    style = new QComboBox;
    style->addItems({tr("Regular"), tr("Italic"), tr("Bold"), tr("Bold Italic")});
    size = new QSpinBox;
    size->setRange(kSmallestSize, kLargestSize);
    underline = new QCheckBox(tr("&Underline"));
    strikeOut = new QCheckBox(tr("Stri&keout"));
    colour = new QComboBox;
    for (const NamedColour& c : kColours) {
        QPixmap swatch(12, 12);
        swatch.fill(QColor(c.rgb));
        colour->addItem(QIcon(swatch), tr(c.name), QColor(c.rgb));
    }
    sample = new QLabel(QStringLiteral("AaBbYyZz"));
    sample->setAlignment(Qt::AlignCenter);
    sample->setMinimumSize(220, 60);
    sample->setFrameShape(QFrame::StyledPanel);

    auto* form = new QFormLayout;
    form->addRow(tr("&Font:"), family);
    form->addRow(tr("Font st&yle:"), style);
    form->addRow(tr("&Size:"), size);
    auto* effects = new QHBoxLayout;
    effects->addWidget(underline);
    effects->addWidget(strikeOut);
    form->addRow(tr("Effects:"), effects);
    form->addRow(tr("&Color:"), colour);
    form->addRow(tr("Sample:"), sample);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    applyButton = buttons->addButton(tr("&Apply"), QDialogButtonBox::ApplyRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    bindUserAction(applyButton, &QPushButton::clicked, this, [this] {
        if (m_apply)
            m_apply(choice());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    showChoice(initial);
    for (QComboBox* box : {static_cast<QComboBox*>(family), style, colour})
        connect(box, &QComboBox::currentIndexChanged, this, &FontDialog::updateSample);
    connect(size, &QSpinBox::valueChanged, this, &FontDialog::updateSample);
    connect(underline, &QCheckBox::toggled, this, &FontDialog::updateSample);
    connect(strikeOut, &QCheckBox::toggled, this, &FontDialog::updateSample);
    updateSample();
}

void FontDialog::showChoice(const Dialogs::FontChoice& choice) {
    // A typeface the system lacks shows as the one the font falls back to.
    family->setCurrentFont(QFont(QFontInfo(choice.font).family()));
    style->setCurrentIndex(choice.font.bold() ? (choice.font.italic() ? BoldItalic : Bold)
                                              : (choice.font.italic() ? Italic : Regular));
    size->setValue(pointsOf(choice.font));
    underline->setChecked(choice.font.underline());
    strikeOut->setChecked(choice.font.strikeOut());
    const int known = colour->findData(choice.colour.isValid() ? choice.colour : QColor(Qt::black));
    if (known < 0) {
        QPixmap swatch(12, 12);
        swatch.fill(choice.colour);
        colour->addItem(QIcon(swatch), choice.colour.name(), choice.colour);
        colour->setCurrentIndex(colour->count() - 1);
    } else {
        colour->setCurrentIndex(known);
    }
}

Dialogs::FontChoice FontDialog::choice() const {
    QFont font(family->currentFont().family());
    font.setPointSize(size->value());
    font.setBold(style->currentIndex() == Bold || style->currentIndex() == BoldItalic);
    font.setItalic(style->currentIndex() == Italic || style->currentIndex() == BoldItalic);
    font.setUnderline(underline->isChecked());
    font.setStrikeOut(strikeOut->isChecked());
    return {font, colour->currentData().value<QColor>()};
}

void FontDialog::updateSample() {
    const Dialogs::FontChoice shown = choice();
    sample->setFont(shown.font);
    QPalette palette = sample->palette();
    palette.setColor(QPalette::WindowText, shown.colour);
    sample->setPalette(palette);
}

} // namespace ui
