// The wide overview strip: the header's overview is 200 pixels wide, too
// narrow for work on long recordings. The strip shows the same levels, the
// same selection and the same position across the whole window, in a band
// added below the skin; the window grows downwards by its height while it
// shows and is exactly the designed window while it does not.
#include "chrome/RoundRegion.h"
#include "editor/OverviewBand.h"
#include "editor/Selection.h"
#include "editor/UnitMP3Editor.h"
#include "widgets/MenuItem.h"
#include "widgets/PopupMenu.h"
#include "widgets/Image.h"
#include "widgets/MaskEdit.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <QPalette>

namespace vivizu {
namespace {
// The strip's colour: the darkest of the header band's gradient, so that the
// band's own background runs into it without an edge.
const QColor StripColour(0x26, 0x81, 0xB3);
constexpr int StripSide = 12; // the band's distance from the window's sides
} // namespace

void TFrmMP3Editor::WireWideOverview() {
    // The last item of the options menu, ticked while the strip shows.
    PM_WideOverview = new TMenuItem(PopupMenuOptions);
    PM_WideOverview->setObjectName(QStringLiteral("PM_WideOverview"));
    PM_WideOverview->SetCaption(QStringLiteral("Wide overview strip"));
    connect(PM_WideOverview, &TMenuItem::Click, this,
            [this] { SetWideOverview(!PM_WideOverview->Checked()); });

    const QSize designed = FS->size();
    FWideStrip = new QWidget(this);
    FWideStrip->setObjectName(QStringLiteral("WideStrip"));
    FWideStrip->setGeometry(0, designed.height(), designed.width(), WideStripHeight);
    FWideStrip->setAutoFillBackground(true);
    QPalette palette = FWideStrip->palette();
    palette.setColor(QPalette::Window, StripColour);
    FWideStrip->setPalette(palette);
    FWideStrip->setVisible(false);

    FWideOverview = new TOverviewBand(*FSelection, FWideStrip);
    FWideOverview->setObjectName(QStringLiteral("WideOverview"));
    FWideOverview->setAccessibleName(QStringLiteral("Wide overview"));
    // The band's lines reach above its middle: it sits a little low.
    FWideOverview->setGeometry(StripSide, (WideStripHeight - TOverviewBand::Height) / 2 + 2,
                               designed.width() - 2 * StripSide, TOverviewBand::Height);

    connect(FOverview, &TOverviewBand::LevelsChanged, this, &TFrmMP3Editor::FollowOverview);
    connect(FOverview, &TOverviewBand::LookChanged, this, [this] {
        FWideOverview->SetRefining(FOverview->Refining());
        FWideOverview->SetPlaying(FOverview->Playing());
    });
    // Picks and dropped lines act as the header band's do.
    connect(FWideOverview, &TOverviewBand::PositionPicked, this, [this](qint64 ms) {
        if (TrackBarPos->isEnabled() && !TimerPos->Enabled())
            TrackBarPos->SetPosition(static_cast<int>(ms));
    });
    connect(FWideOverview, &TOverviewBand::LineDropped, this,
            [this](bool start) { SnapMarker(start ? TMarkerWhich::Start : TMarkerWhich::End); });
    connect(TrackBarPos, &TTrackBar::Change, this,
            [this] { FWideOverview->SetPosition(int64_t{TrackBarPos->Position()}); });
    // Tab reaches the strip after the header's band.
    setTabOrder(FOverview, FWideOverview);
    setTabOrder(FWideOverview, RzMaskEdit1);
}

void TFrmMP3Editor::FollowOverview(bool newStream) {
    if (FOverview->Levels().Empty()) {
        FWideOverview->ClearLevels();
        return;
    }
    FWideOverview->SetLevels(FOverview->Levels(), FOverview->FrameMs(), !newStream);
    FWideOverview->SetRefining(FOverview->Refining());
}

void TFrmMP3Editor::SetWideOverview(bool shown) {
    PM_WideOverview->SetChecked(shown);
    const QSize designed = FS->size();
    FWideStrip->setVisible(shown);
    SetClientSize(designed.width(), designed.height() + (shown ? WideStripHeight : 0));
    // The rounded outline takes in the strip; off, it is the skin's again.
    ApplyRoundRegion(*this, shown ? rect() : FS->geometry());
}

} // namespace vivizu
