#pragma once
// The About box of the editor window: the program's icon and name, version and
// description, and a little about the machine it runs on.

#include <QDialog>

class QLabel;
class QPushButton;
class QVariantAnimation;
class QWidget;

namespace shell {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    QPushButton* okButton() const { return m_okButton; }
    /** The label holding the application name in its sunken lettering. */
    QLabel* nameLabel() const { return m_nameLabel; }
    /** True while the opening rectangle is still growing. */
    bool isOpening() const;

    /** The name's typeface: bold 22-point "Arial", or the nearest sans serif there is. */
    static QFont nameFont();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void finishOpening();

    QLabel* m_nameLabel = nullptr;
    QPushButton* m_okButton = nullptr;
    QWidget* m_openingFrame = nullptr;
    QVariantAnimation* m_opening = nullptr;
};

} // namespace shell
