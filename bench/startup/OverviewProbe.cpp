// Opening a file in the main window and waiting for the overview's decode:
// the Open button's click (the dialog answered at once) until the decoded
// levels are handed to the band. Run it with an empty levels cache
// (XDG_CACHE_HOME), so that the decode runs; the benchmark reads the
// process's peak memory from outside.
// Usage: startup-probe-overview FILE  -> prints "decoded_ms"
#include "OpenedWindow.h"
#include "editor/OverviewJob.h"
#include "editor/UnitMP3Editor.h"
#include "widgets/Application.h"
#include "widgets/FileDialogBase.h"
#include "widgets/PictureButton.h"

#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv) {
    vivizu::TApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    vivizu::TFrmMP3Editor form;
    AnswerOpenDialogsWith(form, path);
    auto* job = form.findChild<vivizu::TOverviewJob*>();
    if (job == nullptr)
        return 2;
    bool decoded = false;
    QObject::connect(job, &vivizu::TOverviewJob::Finished, [&] { decoded = true; });

    QElapsedTimer timer;
    timer.start();
    form.findChild<vivizu::TPictureButton*>(QStringLiteral("BtnOpenMp3"))->click();
    form.repaint();
    while (!decoded && (job->Running() || timer.elapsed() < 1000)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    QCoreApplication::processEvents();
    if (!decoded)
        return 1;
    std::printf("%.1f\n", timer.nsecsElapsed() / 1e6);
    return 0;
}
