// The yardstick: the least a Qt Widgets program does to show a borderless
// window of the main window's size. With the argument "text" the window
// also shows one line of text, which makes Qt set up its fonts: a cost every
// window with words pays, shown by the benchmark for comparison.
#include "StartupProbe.h"

#include <QLabel>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("Vivizu"));
    window.setFixedSize(592, 452);
    if (argc > 1 && std::strcmp(argv[1], "text") == 0)
        (new QLabel(QStringLiteral("Vivizu version " VIVIZU_VERSION), &window))->move(12, 8);
    new TStartupProbe(&window);
    window.show();
    return app.exec();
}
