// Keyboard use of the main window: which controls Tab reaches and in what
// order, and the keys that open the menus. Alt with the underlined letter
// of ">> Language" or ">> Options" is the links' own accelerator
// (TLinkLabel); F10 opens the options menu as the first menu of the window.
#include "editor/OverviewBand.h"
#include "editor/UnitMP3Editor.h"

#include "widgets/Application.h"
#include "widgets/GlyphButton.h"
#include "widgets/LinkLabel.h"
#include "widgets/MaskEdit.h"
#include "widgets/PageControl.h"
#include "widgets/PictureButton.h"
#include "widgets/TrackBar.h"

#include <QShortcut>
#include <QTabBar>
#include <iterator>

namespace vivizu {

void TFrmMP3Editor::WireKeyboard() {
    // The picture buttons take the focus from Tab only: a click keeps
    // the focus where it was, as before.
    for (TPictureButton* button : {BtnOpenMp3, BtnSaveMp3, BtnAbout})
        button->setFocusPolicy(Qt::TabFocus);
    QWidget* const order[] = {BtnOpenMp3,  BtnSaveMp3, BtnAbout,    FOverview,
                              RzMaskEdit1, RzMaskEdit2, BtnPlayStart, BtnStop,
                              TrackBarPos, RzPageControl1->tabBar()};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    auto* options = new QShortcut(QKeySequence(Qt::Key_F10), this);
    options->setContext(Qt::WindowShortcut);
    connect(options, &QShortcut::activated, this, [this] { GuardedCall([this] { Label29Click(); }); });
}

} // namespace vivizu
