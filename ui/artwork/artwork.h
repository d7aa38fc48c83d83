#pragma once
// Pictures drawn in code: the program icon, the editor window's background
// and the push-button glyphs. Each is drawn for the pixel density it is shown
// at (the device pixel ratio), so it stays sharp on high-density screens; the
// sizes here are device-independent pixels.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRect>

class QPainter;

namespace ui::artwork {

enum class Glyph { AddRecord, ShapeToShadow, ClearRecord, DeleteRecord, ShowObject };

/** The side of the program icon's drawing. */
inline constexpr int kIconSide = 32;
/** The size of the editor window's background picture. */
inline constexpr QSize kBackgroundSize(1024, 768);

/** The program icon drawn into a square of side pixels, in a 16-colour palette: crisp at whole
 * multiples of 32, drawn at the next multiple and smoothed down at the sides in between. */
QImage programIconImage(int side);
/** The program icon at 32 x 32 for a screen of devicePixelRatio; shared for a ratio of 1. */
QPixmap programIcon(qreal devicePixelRatio = 1.0);
/** The window icon: the program icon at 16, 32 and 64 pixels, for title bars and task bars,
 * also on high-density screens. */
QIcon windowIcon();

/** Draws the background picture with its top-left corner at the painter's origin, only over
 * area (picture coordinates), at the resolution of the painter's device. The picture is a
 * vertical wash, a diagonal weave repeating every 8 pixels and a soft light in the middle. */
void drawBackground(QPainter& painter, const QRect& area);

/** A 32 x 16 glyph strip for a screen of devicePixelRatio: the enabled image on the left, the
 * disabled one on the right. Shared for a ratio of 1. */
QPixmap glyphStrip(Glyph glyph, qreal devicePixelRatio = 1.0);
/** The two halves of glyphStrip() as the Normal and Disabled modes of one icon, at ratios 1
 * and 2. */
QIcon glyphIcon(Glyph glyph);

} // namespace ui::artwork
