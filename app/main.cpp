// The program entry: no arguments are read. One main window; the program
// ends when it closes.
#include "editor/UnitMP3Editor.h"
#include "resources/Resources.h"
#include "widgets/Application.h"

int main(int argc, char** argv) {
    vivizu::TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Vivizu"));
    app.setApplicationName(QStringLiteral("Vivizu"));
    vivizu::InitVivizuResources();
    app.setWindowIcon(vivizu::AppIcon());
    vivizu::TFrmMP3Editor form;
    form.show();
    return app.exec();
}
