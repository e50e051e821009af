// The program's own start-up, as app/main.cpp does it, with the probe.
#include "StartupProbe.h"
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
    new TStartupProbe(&form);
    form.show();
    return app.exec();
}
