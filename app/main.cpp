// Tarnwick: a calculator for the Two One-Sided Tests of the equivalence of two
// means. Everything happens in the main window; closing it ends the program.

#include <QApplication>

#include "frmBrevant.h"
#include "look.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Lets Wayland desktops match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quindle.Tarnwick"));
    tarnwick::applyLook(app);
    tarnwick::frmBrevant window;
    window.show();
    return QApplication::exec();
}
