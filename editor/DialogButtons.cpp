#include "editor/DialogButtons.h"

#include "resources/Resources.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <Qt>

namespace vivizu {

QPixmap DialogArt(const char* name)
{
    return ArtPixmap(QLatin1String(name), qApp->devicePixelRatio());
}

TDialogSkin MakeDialogSkin(QWidget* dialog, int height, int stripBottom, const QString& title)
{
    TDialogSkin skin;
    skin.Skin = MakeControl<TImage>(dialog, "FS", 0, 0, 340, height);
    skin.Skin->SetPicture(DialogArt("dialog-skin"));
    skin.Skin->SetStretch(true);
    skin.Title = MakeControl<TLabel>(dialog, "LabelTitle", 70, (stripBottom - 17) / 2, 200, 17);
    skin.Title->SetFontColor(Qt::white);
    skin.Title->SetBold(true);
    skin.Title->SetCaption(title);
    return skin;
}

TDialogButtons MakeDialogButtons(QWidget* dialog, int y)
{
    TDialogButtons buttons;
    buttons.Ok = MakeControl<TGlyphButton>(dialog, "BtnOk", 148, y, 75, 23);
    buttons.Ok->SetCaption(QStringLiteral("&Ok"));
    buttons.Cancel = MakeControl<TGlyphButton>(dialog, "BtnCancel", 228, y, 75, 23);
    buttons.Cancel->SetCaption(QStringLiteral("&Cancel"));
    buttons.Close = MakeControl<TPictureButton>(dialog, "BtnSysClose", 287, 1, 40, 20);
    buttons.Close->SetNormal(DialogArt("frame-close"));
    buttons.Close->SetHover(DialogArt("frame-close-hover"));
    buttons.Close->SetDown(DialogArt("frame-close-down"));
    buttons.Close->SetHint(QStringLiteral("Close"));
    buttons.Close->setFocusPolicy(Qt::NoFocus);
    return buttons;
}

} // namespace vivizu
