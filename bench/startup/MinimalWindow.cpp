// The yardstick: the least a Qt Widgets program does to show a borderless
// window of the main window's size.
#include "StartupProbe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("Vivizu"));
    window.setFixedSize(592, 452);
    new TStartupProbe(&window);
    window.show();
    return app.exec();
}
