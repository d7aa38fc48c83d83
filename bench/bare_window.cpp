// The yardstick of the start-up benchmark: the smallest Qt Widgets program with a window like
// the editor's start window, one fixed-size main window with a menu bar of one item.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.menuBar()->addAction(QStringLiteral("Quit"), &app, &QApplication::quit);
    window.setFixedSize(370, 192);
    window.show();
    return QApplication::exec();
}
