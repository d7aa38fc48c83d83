#include "ui/artwork/fonts.h"

#include <QStringList>

namespace ui::fonts {

namespace {
QFont make(const QStringList& families, int pixelHeight, QFont::Weight weight) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setWeight(weight);
    return font;
}
} // namespace

QFont msSansSerif(int pixelHeight, bool bold) {
    // Condensed stand-ins first: the labels' boxes were sized for a narrow face.
    static const QStringList families{QStringLiteral("MS Sans Serif"),
                                      QStringLiteral("Microsoft Sans Serif"),
                                      QStringLiteral("Liberation Sans Narrow"),
                                      QStringLiteral("DejaVu Sans Condensed"),
                                      QStringLiteral("Liberation Sans"),
                                      QStringLiteral("DejaVu Sans"),
                                      QStringLiteral("sans-serif")};
    return make(families, pixelHeight, bold ? QFont::Bold : QFont::Normal);
}

QFont tahoma(int pixelHeight, bool bold) {
    static const QStringList families{QStringLiteral("Tahoma"),
                                      QStringLiteral("DejaVu Sans Condensed"),
                                      QStringLiteral("Liberation Sans Narrow"),
                                      QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")};
    return make(families, pixelHeight, bold ? QFont::Bold : QFont::Normal);
}

QFont arialBlack(int pixelHeight) {
    static const QStringList families{QStringLiteral("Arial Black"), QStringLiteral("Arial"),
                                      QStringLiteral("Liberation Sans"),
                                      QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")};
    QFont font = make(families, pixelHeight, QFont::Black);
    font.setItalic(true);
    return font;
}

} // namespace ui::fonts
