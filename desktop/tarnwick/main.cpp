// Tarnwick: a calculator for the Two One-Sided Tests of the equivalence of two
// means. Everything happens in the main window; closing it ends the program.

#include <QApplication>
#include <system_error>
#include <thread>

#include "carried_font.h"
#include "frmBrevant.h"
#include "look.h"

int main(int argc, char* argv[]) {
    // The font configuration is read while the application connects to the
    // display; on one core, or if no thread can be started, Qt reads it later.
    std::thread fontConfiguration;
    try {
        fontConfiguration = std::thread(tarnwick::loadSystemFontConfiguration);
    } catch (const std::system_error&) {
        // Not a failure: Qt reads the configuration itself when it needs it.
    }
    QApplication app(argc, argv);
    if (fontConfiguration.joinable()) fontConfiguration.join();
    // Lets Wayland desktops match the window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quindle.Tarnwick"));
    tarnwick::applyLook(app);
    tarnwick::frmBrevant window;
    window.show();
    return QApplication::exec();
}
