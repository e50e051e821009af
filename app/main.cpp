// The program entry: no arguments are read. One main window; the program
// ends when it closes.
#include "app/ProgramStart.h"
#include "editor/UnitMP3Editor.h"
#include "widgets/Application.h"

int main(int argc, char** argv) {
    vivizu::TApplication app(argc, argv);
    vivizu::PrepareProgram(app);
    vivizu::TFrmMP3Editor form;
    form.show();
    return app.exec();
}
