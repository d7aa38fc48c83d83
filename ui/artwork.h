#pragma once
// Pictures drawn in code: the program icon, the editor window's background
// and the push-button glyphs. Each is drawn once and then shared.

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace ui::artwork {

enum class Glyph { AddRecord, ShapeToShadow, ClearRecord, DeleteRecord, ShowObject };

/** The program icon, 32 x 32, in a 16-colour palette. */
QPixmap programIcon();
/** programIcon() as a window icon. */
QIcon windowIcon();
/** The editor window's background, 1024 x 768, drawn centred in the client area. */
QImage background();
/** A 32 x 16 glyph strip: the enabled image on the left, the disabled one on the right. */
QPixmap glyphStrip(Glyph glyph);
/** The two halves of glyphStrip() as the Normal and Disabled modes of one icon. */
QIcon glyphIcon(Glyph glyph);

} // namespace ui::artwork
