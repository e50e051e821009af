// Opening a long file in the main window: the time from the Open button's
// click (the dialog answered at once) until the window has painted the
// file's information and the overview's estimate (gathered by the same walk),
// against the engine's analysis of the same file alone, without the estimate.
// Usage: startup-probe-open FILE  -> prints "window_ms engine_ms"
#include "OpenedWindow.h"
#include "editor/OverviewJob.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "widgets/Application.h"
#include "widgets/FileDialogBase.h"
#include "widgets/PictureButton.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    vivizu::TApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    vivizu::TFrmMP3Editor form;
    AnswerOpenDialogsWith(form, path);

    double window = 1e9, engine = 1e9;
    for (int run = 0; run < 4; ++run) {  // the first run warms the file cache
        QElapsedTimer timer;
        timer.start();
        vivizu::TRoruvoMP3 alone;
        alone.LoadFile(QFile::encodeName(path).toStdString());
        if (run > 0)
            engine = std::min(engine, timer.nsecsElapsed() / 1e6);

        timer.restart();
        form.findChild<vivizu::TPictureButton*>(QStringLiteral("BtnOpenMp3"))->click();
        form.repaint();
        if (run > 0)
            window = std::min(window, timer.nsecsElapsed() / 1e6);
        // The overview's background work would compete with the next run's
        // measurements: stopped, and given a moment to end.
        if (auto* job = form.findChild<vivizu::TOverviewJob*>())
            job->Cancel();
        QThread::msleep(300);
        QCoreApplication::processEvents();
    }
    std::printf("%.1f %.1f\n", window, engine);
    return 0;
}
