// The floor for the start-up comparison: the calculator's main-window form
// (the same .ui), in the same look (style, palette, carried font, icon) and
// the same start colours, built with the same compiler and flags, shown with
// no behaviour: no keystroke filters, no connections, no analysis. What
// Tarnwick takes beyond this is what its behaviour costs at start.

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <system_error>
#include <thread>

#include "box_names.h"
#include "carried_font.h"
#include "look.h"
#include "ui_frmBrevant.h"

namespace {

QLineEdit& box(QWidget& window, std::string_view name) {
    return *window.findChild<QLineEdit*>(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

// The colours the main window starts with: a look, not a behaviour.
void applyStartColours(QWidget& window) {
    using namespace tarnwick;
    for (const std::string_view name : names::groupBoxes)
        setColour(box(window, name), QPalette::Base, colours::white);
    setColour(box(window, "TxtNotTrivial"), QPalette::Base, colours::cyan);
    setColour(box(window, "TxtMeanDiff"), QPalette::Base, colours::buttonFace);
    setColour(box(window, "TxtSDMatched"), QPalette::Base, colours::buttonFace);
    for (const std::string_view name : names::resultBoxes) {
        setColour(box(window, name), QPalette::Base, colours::buttonFace);
        setColour(box(window, name), QPalette::Text, colours::black);
    }
    for (const std::string_view name : names::initiallyRedResultBoxes)
        setColour(box(window, name), QPalette::Text, colours::red);
}

}  // namespace

int main(int argc, char* argv[]) {
    // As the calculator starts: the font configuration read on a second thread.
    std::thread fontConfiguration;
    try {
        fontConfiguration = std::thread(tarnwick::loadSystemFontConfiguration);
    } catch (const std::system_error&) {
    }
    QApplication app(argc, argv);
    if (fontConfiguration.joinable()) fontConfiguration.join();
    tarnwick::applyLook(app);
    QWidget window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                Qt::WindowCloseButtonHint);
    Ui::frmBrevant ui;
    ui.setupUi(&window);
    window.setFixedSize(window.size());
    applyStartColours(window);
    window.show();
    return QApplication::exec();
}
