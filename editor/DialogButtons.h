#pragma once
// The buttons the small skinned dialogs share: "&Ok" and "&Cancel" side by
// side on one row, and the skinned close button at the top right.
#include <QPixmap>

class QWidget;

namespace vivizu {

class TGlyphButton;
class TPictureButton;

struct TDialogButtons {
    TGlyphButton* Ok = nullptr;
    TGlyphButton* Cancel = nullptr;
    TPictureButton* Close = nullptr;
};

// Makes the three on a dialog 340 pixels wide, Ok and Cancel at top y.
TDialogButtons MakeDialogButtons(QWidget* dialog, int y);

// A picture of the program's art at the screen's pixel ratio.
QPixmap DialogArt(const char* name);

} // namespace vivizu
