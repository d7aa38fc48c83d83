#pragma once
// The three typefaces of the windows, by name, with stand-ins where the system
// lacks them. Sizes are character heights in pixels, so layouts keep their
// proportions whatever the screen's dots per inch.

#include <QFont>

namespace ui::fonts {

/** "MS Sans Serif", else a narrow sans serif (the layouts were measured in it). */
QFont msSansSerif(int pixelHeight, bool bold = false);
/** "Tahoma", else a condensed sans serif. */
QFont tahoma(int pixelHeight, bool bold = false);
/** "Arial Black", else the heaviest sans serif available. */
QFont arialBlack(int pixelHeight);

} // namespace ui::fonts
