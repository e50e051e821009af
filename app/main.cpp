// The program entry: no arguments are read. One main window; the program
// ends when it closes.
#include "editor/UnitMP3Editor.h"
#include "resources/Resources.h"
#include "widgets/Application.h"

#include <csignal>

int main(int argc, char** argv) {
    // A write past the file size limit then fails with an error the window
    // reports, and the unfinished output is removed, instead of the process
    // ending with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);
    vivizu::TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Vivizu"));
    app.setApplicationName(QStringLiteral("Vivizu"));
    vivizu::InitVivizuResources();
    app.setWindowIcon(vivizu::AppIcon());
    vivizu::TFrmMP3Editor form;
    form.show();
    return app.exec();
}
