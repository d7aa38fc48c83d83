// render_icons: draws the program icon into the PNG files installed with the program, with the
// drawing code the running program uses for its window icon.
//
//   render_icons SIDE FILE [SIDE FILE]...   writes the icon SIDE pixels square to FILE
//
// Exits 1 naming the first file it could not write. Runs headless with QT_QPA_PLATFORM=offscreen.

#include "ui/artwork/artwork.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: render_icons SIDE FILE [SIDE FILE]...\n");
        return 1;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const int side = std::atoi(argv[i]);
        const QString file = QString::fromLocal8Bit(argv[i + 1]);
        if (side < 1 || !ui::artwork::programIconImage(side).save(file, "PNG")) {
            std::fprintf(stderr, "render_icons: cannot write the %s-pixel icon to %s\n", argv[i],
                         argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
