#pragma once
// The pieces the small skinned dialogs share: the skin with its titled
// caption strip, "&Ok" and "&Cancel" side by side on one row, and the
// skinned close button at the top right.
#include <QPixmap>
#include <QString>

class QWidget;

namespace vivizu {

class TGlyphButton;
class TImage;
class TLabel;
class TPictureButton;

// The skin's art is 180 pixels high and stretched to a dialog's height:
// its caption strip and its separator line move down with it.
constexpr int SkinStripBottom(int dialogHeight) { return 36 * dialogHeight / 180; }
constexpr int SkinSeparatorTop(int dialogHeight) { return 130 * dialogHeight / 180; }

struct TDialogSkin {
    TImage* Skin = nullptr;  // "FS": the skin stretched over the dialog
    TLabel* Title = nullptr; // "LabelTitle": white and bold in the strip
};

// Makes the skin of a dialog 340 pixels wide and height high, and its
// title beside the strip's sign, in the middle of a strip that ends at
// stripBottom.
TDialogSkin MakeDialogSkin(QWidget* dialog, int height, int stripBottom, const QString& title);

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
