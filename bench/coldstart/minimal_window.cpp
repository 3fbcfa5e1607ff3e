// The reference for cold start: the least a Qt 6 Widgets program does to put a window on screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(352, 226);
    window.show();
    return app.exec();
}
