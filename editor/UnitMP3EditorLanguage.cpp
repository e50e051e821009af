// The main window's language: the language menu and putting a language's
// texts and messages on the window.
#include "editor/UnitMP3Editor.h"

#include "i18n/Language.h"
#include "i18n/QtTexts.h"
#include "platform/ProgramFolder.h"
#include "widgets/Application.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/MenuItem.h"
#include "widgets/PopupMenu.h"

#include <QCoreApplication>

namespace vivizu {

void TFrmMP3Editor::ApplyLanguage(int number) {
    CurrentLanguage = static_cast<uint8_t>(number);
    Label11->SetCaption(QStringLiteral("Vivizu version " VIVIZU_VERSION));
    if (auto* app = qobject_cast<TApplication*>(QCoreApplication::instance()))
        app->SetTitle(QStringLiteral("Vivizu"));
    const TLanguage& language = LanguageRow(number);
    if (auto* item = findChild<TMenuItem*>(QLatin1String(language.MenuItem)))
        item->SetChecked(true);
    const std::string path = ProgramFolder() + language.File;
    // The channel text of an opened file comes from the messages: it is
    // said again in the new language.
    const QString channel = Label19->Caption();
    const bool mono = !channel.isEmpty() && channel == Messages.Mono;
    const bool stereo = !channel.isEmpty() && channel == Messages.Stereo;
    LoadMessages(path);
    ApplyLanguageFile(*this, path);
    if (mono || stereo)
        Label19->SetCaption(mono ? Messages.Mono : Messages.Stereo);
    if (!FQtTexts)
        FQtTexts = std::make_unique<TQtTexts>();
    FQtTexts->Apply(number);
}

// The path stays in the file system's bytes: a detour through QString would
// spoil a program folder whose name is not valid UTF-8.
void TFrmMP3Editor::LoadMessages(const std::string& path) {
    vivizu::LoadMessages(Messages, path);
}

// The language menu opens with its top-left corner at the label's
// bottom-left corner.
void TFrmMP3Editor::Label28Click() {
    const QPoint corner = Label28->mapToGlobal(QPoint(0, Label28->height()));
    PopupMenuView->Popup(corner.x(), corner.y());
}

// A menu item's Tag is its language number; choosing the language already
// in use reloads nothing.
void TFrmMP3Editor::PM_EnglishClick(TMenuItem* sender) {
    if (sender && sender->Tag() != CurrentLanguage)
        ApplyLanguage(sender->Tag());
}

} // namespace vivizu
