// The yardstick for the start-up comparison: an empty Qt window of the
// calculator's size, built with the same compiler and flags, doing nothing
// but showing itself.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(1054, 640);
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.show();
    return QApplication::exec();
}
