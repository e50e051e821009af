// The program's own start-up, the same steps as app/main.cpp, with the probe.
#include "StartupProbe.h"
#include "app/ProgramStart.h"
#include "editor/UnitMP3Editor.h"
#include "widgets/Application.h"

int main(int argc, char** argv) {
    vivizu::TApplication app(argc, argv);
    vivizu::PrepareProgram(app);
    vivizu::TFrmMP3Editor form;
    new TStartupProbe(&form);
    form.show();
    return app.exec();
}
