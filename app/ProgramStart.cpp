#include "app/ProgramStart.h"

#include "editor/ResultFile.h"
#include "engine/io/SignalCleanup.h"
#include "resources/Resources.h"
#include "widgets/Application.h"

#include <csignal>

namespace vivizu {

void PrepareProgram(TApplication& app) {
    // A write past the file size limit then fails with an error the window
    // reports, and the unfinished output is removed, instead of the process
    // ending with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);
    // A signal that ends the program during a save removes the unfinished
    // output; the earlier file of that name stays as it was.
    InstallSignalCleanup();
    // What a program that was killed while it played a result left behind.
    RemoveStaleResults();
    app.SetTitle(QStringLiteral("Vivizu"));
    app.setApplicationName(QStringLiteral("Vivizu"));
    // Ties the window to its menu entry (vivizu.desktop) on the desktop.
    app.setDesktopFileName(QStringLiteral("vivizu"));
    app.setWindowIcon(AppIcon());
}

} // namespace vivizu
