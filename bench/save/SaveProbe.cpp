// Saving a selection of a long file from the main window: the time from the
// Save As button's click (the save dialog answered at once) until the wait
// panel is hidden again, against the engine's cut of the same range alone.
// Usage: save-probe FILE START_MS END_MS OUT_FOLDER [RUNS]
//   -> prints "window_median window_min engine_median engine_min" in ms
#include "editor/MessageBox.h"
#include "editor/TimeText.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "widgets/Application.h"
#include "widgets/FileDialogBase.h"
#include "widgets/Panel.h"
#include "widgets/MaskEdit.h"
#include "widgets/PictureButton.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Notes the moment the watched widget is hidden.
class HideClock : public QObject {
public:
    HideClock(QElapsedTimer& clock, qint64& at) : FClock(clock), FAt(at) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide)
            FAt = FClock.nsecsElapsed();
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer& FClock;
    qint64& FAt;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    vivizu::TApplication app(argc, argv);
    if (argc < 5)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int32_t start = std::atoi(argv[2]);
    const int32_t end = std::atoi(argv[3]);
    const QString outFolder = QString::fromLocal8Bit(argv[4]);
    const int runs = argc > 5 ? std::max(1, std::atoi(argv[5])) : 7;

    vivizu::TFrmMP3Editor form;
    form.show();
    QCoreApplication::processEvents();
    QString answer = path;
    vivizu::TFileDialogBase::SetExecuteHook([&](vivizu::TFileDialogBase& dialog) {
        dialog.SetFileName(answer);
        return true;
    });
    bool failed = false;
    vivizu::SetMessageBoxHook(
        [&](const QString&, const QString&, QMessageBox::Icon) { failed = true; });
    vivizu::TApplication::SetReportHook([&](const QString&, const QString&) { failed = true; });
    auto* saveButton = form.findChild<vivizu::TPictureButton*>(QStringLiteral("BtnSaveMp3"));
    form.findChild<vivizu::TPictureButton*>(QStringLiteral("BtnOpenMp3"))->click();
    // The selection as a user types it: the end first, the start within it.
    form.findChild<vivizu::TMaskEdit*>(QStringLiteral("RzMaskEdit2"))->SetText(vivizu::MsToTimeText(end));
    form.findChild<vivizu::TMaskEdit*>(QStringLiteral("RzMaskEdit1"))->SetText(vivizu::MsToTimeText(start));

    QElapsedTimer clock;
    qint64 hiddenAt = 0;
    HideClock hide(clock, hiddenAt);
    form.findChild<QWidget*>(QStringLiteral("PanelState"))->installEventFilter(&hide);

    std::vector<double> window, engine;
    vivizu::TRoruvoMP3 engineAlone;
    engineAlone.LoadFile(QFile::encodeName(path).toStdString(), false);
    for (int run = 0; run <= runs; ++run) { // the first run warms the file cache
        const QString out = outFolder + QStringLiteral("/window-%1.mp3").arg(run);
        answer = out;
        hiddenAt = 0;
        clock.start();
        saveButton->click();
        const double windowMs = hiddenAt / 1e6;
        const qint64 windowSize = QFile(out).size();
        QFile::remove(out);

        const std::string alone = QFile::encodeName(outFolder).toStdString() + "/engine.mp3";
        vivizu::TID3v1Tag none{};
        clock.restart();
        engineAlone.SaveSegment(start, end, alone, none);
        const double engineMs = clock.nsecsElapsed() / 1e6;
        // Both wrote the same cut: the window adds a tag only when the file
        // has one, so the sizes differ by 0 or 128 bytes and never by more.
        const qint64 engineSize = QFile(QString::fromStdString(alone)).size();
        failed = failed || engineSize <= 0 || windowSize - engineSize < 0 ||
                 windowSize - engineSize > 128;
        std::remove(alone.c_str());
        if (run > 0) {
            window.push_back(windowMs);
            engine.push_back(engineMs);
        }
    }
    if (failed || window.empty()) {
        std::fprintf(stderr, "save-probe: the save failed\n");
        return 1;
    }
    std::printf("%.1f %.1f %.1f %.1f\n", Median(window),
                *std::min_element(window.begin(), window.end()), Median(engine),
                *std::min_element(engine.begin(), engine.end()));
    return 0;
}
