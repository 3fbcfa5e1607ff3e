// The yardstick for the main window's start-up: the smallest Qt widget program, built with
// the same flags and started the same way.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(544, 378);
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.show();
    return app.exec();
}
