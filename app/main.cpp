// The program entry: no arguments are read. One main window; the program
// ends when it closes.
#include "app/ProgramStart.h"
#include "chrome/WindowSystem.h"
#include "editor/UnitMP3Editor.h"
#include "widgets/Application.h"

int main(int argc, char** argv) {
    // X11 where a Wayland session offers it too: the windows' outlines,
    // shadows and caption moves need it.
    std::vector<char*> args = vivizu::ApplicationArguments(argc, argv);
    int count = static_cast<int>(args.size()) - 1;
    vivizu::TApplication app(count, args.data());
    vivizu::PrepareProgram(app);
    vivizu::TFrmMP3Editor form;
    form.show();
    return app.exec();
}
