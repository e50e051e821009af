#include "editor/DialogButtons.h"

#include "resources/Resources.h"
#include "widgets/GlyphButton.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <Qt>

namespace vivizu {

QPixmap DialogArt(const char* name)
{
    return ArtPixmap(QLatin1String(name), qApp->devicePixelRatio());
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
