// The program entry: "vivizu [FILE]". One main window, which opens FILE
// once it is up; the program ends when the window closes.
#include "app/CommandLine.h"
#include "app/ProgramStart.h"
#include "chrome/WindowSystem.h"
#include "editor/UnitMP3Editor.h"
#include "widgets/Application.h"

#include <QDir>

#include <cstdio>

namespace {

// Answers --help and --version; false for a command line that runs the
// window. Done before the application object exists, so that they work
// without a display.
bool AnswerWithoutWindow(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    switch (vivizu::ReadCommandLine(arguments, QString()).Action) {
    case vivizu::TCommandLine::Help:
        std::fputs(vivizu::CommandLineUsage().toLocal8Bit().constData(), stdout);
        return true;
    case vivizu::TCommandLine::Version:
        std::printf("vivizu %s\n", VIVIZU_VERSION);
        return true;
    default:
        return false;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (AnswerWithoutWindow(argc, argv))
        return 0;
    // X11 where a Wayland session offers it too: the windows' outlines,
    // shadows and caption moves need it.
    std::vector<char*> args = vivizu::ApplicationArguments(argc, argv);
    int count = static_cast<int>(args.size()) - 1;
    vivizu::TApplication app(count, args.data());
    // Qt has taken its own options out of the arguments by now.
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    const auto line = vivizu::ReadCommandLine(arguments, QDir::currentPath());
    if (line.Action == vivizu::TCommandLine::Wrong) {
        std::fprintf(stderr, "vivizu: %s\n%s", line.Problem.toLocal8Bit().constData(),
                     vivizu::CommandLineUsage().toLocal8Bit().constData());
        return 2;
    }
    vivizu::PrepareProgram(app);
    vivizu::TFrmMP3Editor form;
    form.show();
    if (!line.File.isEmpty())
        form.OpenFileLater(line.File);
    return app.exec();
}
