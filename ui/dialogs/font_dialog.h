#pragma once
// The notes window's font dialog FontDlg1: a scalable typeface, its style, a size from 8 to 32
// points, underline, strike-out and a text colour, with "OK", "Cancel" and an "Apply" button that
// hands the font shown to the caller while the dialog stays open.

#include "ui/dialogs/dialogs.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace ui {

class FontDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSmallestSize = 8;
    static constexpr int kLargestSize = 32;

    FontDialog(const Dialogs::FontChoice& initial, Dialogs::FontApply apply,
               QWidget* parent = nullptr);

    /** The font the dialog shows now. */
    Dialogs::FontChoice choice() const;

    QFontComboBox* family = nullptr;
    QComboBox* style = nullptr;
    QSpinBox* size = nullptr;
    QCheckBox* underline = nullptr;
    QCheckBox* strikeOut = nullptr;
    QComboBox* colour = nullptr;
    QLabel* sample = nullptr;
    QPushButton* applyButton = nullptr;

private:
    void showChoice(const Dialogs::FontChoice& choice);
    void updateSample();

    Dialogs::FontApply m_apply;
};

} // namespace ui
