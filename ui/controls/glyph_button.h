#pragma once
// A push button whose caption stands raised and wraps over several lines when
// it has to, with an optional glyph to its left or above it. The glyph is a
// 32 x 16 strip: the enabled image, then the disabled one, drawn at the pixel
// density of the screen the button is on.

#include "ui/artwork/artwork.h"

#include <QPixmap>
#include <QPushButton>

#include <optional>

namespace ui {

class GlyphButton : public QPushButton {
    Q_OBJECT
public:
    enum class GlyphPlace { Left, Above };

    explicit GlyphButton(const QString& caption, QWidget* parent = nullptr);

    void setGlyph(artwork::Glyph glyph, GlyphPlace place);
    /** The glyph strip at the pixel density of the button's screen; null without a glyph. */
    QPixmap glyph() const;
    GlyphPlace glyphPlace() const { return m_place; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<artwork::Glyph> m_glyph;
    QPixmap m_strip; // as last painted
    GlyphPlace m_place = GlyphPlace::Left;
};

} // namespace ui
