#pragma once
// A push button whose caption stands raised and wraps over several lines when
// it has to, with an optional glyph to its left or above it. The glyph is a
// 32 x 16 strip: the enabled image, then the disabled one.

#include <QPixmap>
#include <QPushButton>

namespace ui {

class GlyphButton : public QPushButton {
    Q_OBJECT
public:
    enum class GlyphPlace { Left, Above };

    explicit GlyphButton(const QString& caption, QWidget* parent = nullptr);

    void setGlyph(const QPixmap& strip, GlyphPlace place);
    QPixmap glyph() const { return m_strip; }
    GlyphPlace glyphPlace() const { return m_place; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_strip;
    GlyphPlace m_place = GlyphPlace::Left;
};

} // namespace ui
