// The main window needs an application object; the tests run on Qt's
// offscreen platform unless the environment names another.
//
// The window keeps its settings beside the program, so each test process
// gets a program folder of its own: links to everything in the real one
// (language files, marker bitmaps, the preview module) and a settings file
// choosing English, whatever the machine's language and whatever other
// tests running at the same time store. The decoded levels the window
// keeps go to a cache folder of the process's own, never the user's.
#include <gtest/gtest.h>

#include "platform/ProgramFolder.h"
#include "widgets/Application.h"

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vivizu::TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Vivizu"));

    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const std::filesystem::path programFolder = folder.path().toStdString();
    for (const auto& entry : std::filesystem::directory_iterator(vivizu::ExecutableFolder()))
        if (entry.path().filename() != "Vivizu.ini")
            std::filesystem::create_symlink(entry.path(), programFolder / entry.path().filename());
    std::ofstream(programFolder / "Vivizu.ini") << "[LANGUAGE]\nDefault=0\n";
    vivizu::SetProgramFolder(programFolder.string());
    QTemporaryDir cache;
    if (!cache.isValid())
        return 1;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
