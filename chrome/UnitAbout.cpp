#include "chrome/UnitAbout.h"

#include "chrome/CaptionDrag.h"
#include "chrome/FormShadow.h"
#include "chrome/RoundRegion.h"
#include "i18n/Language.h"
#include "platform/ProgramFolder.h"
#include "resources/Resources.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/PictureButton.h"
#include "widgets/Separator.h"
#include "widgets/URLLabel.h"

#include <QApplication>
#include <QGraphicsDropShadowEffect>
#include <QKeyEvent>

#ifndef VIVIZU_HOMEPAGE
#define VIVIZU_HOMEPAGE "https://example.org/vivizu"
#endif
#ifndef VIVIZU_EMAIL
#define VIVIZU_EMAIL "vivizu@example.org"
#endif

namespace vivizu {

QString HomepageAddress() { return QStringLiteral(VIVIZU_HOMEPAGE); }
QString EmailAddress() { return QStringLiteral(VIVIZU_EMAIL); }
QString RightsNotice() { return QStringLiteral("Copyright \u00A9 2026 the Vivizu authors"); }

namespace {

QPixmap Art(const QString& name) { return ArtPixmap(name, qApp->devicePixelRatio()); }

QFont PixelFont(const QString& family, int pixels, bool bold = false, bool underline = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

// White bold title text with a soft dark drop shadow under it.
TLabel* MakeTitle(QWidget* parent, const char* name, int top, int height, int pixels) {
    auto* label = MakeControl<TLabel>(parent, name, 16, top, 385, height);
    label->setFont(PixelFont(QStringLiteral("Tahoma"), pixels, true));
    label->SetFontColor(Qt::white);
    label->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    auto* shadow = new QGraphicsDropShadowEffect(label);
    shadow->setOffset(1, 1);
    shadow->setBlurRadius(2);
    shadow->setColor(QColor(0, 0, 0, 110));
    label->setGraphicsEffect(shadow);
    return label;
}

TURLLabel* MakeLink(QWidget* parent, const char* name, int left, int top, const QString& address,
                    const QString& target) {
    auto* link = MakeControl<TURLLabel>(parent, name, left, top, 10, 13);
    link->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false, true));
    link->SetFontColor(QApplication::palette().color(QPalette::Highlight));
    link->SetAutoSize(true);
    link->SetCaption(QStringLiteral(" ") + address);
    link->SetURL(target);
    return link;
}

} // namespace

TFrmAbout::TFrmAbout(QWidget* parent) : TForm(parent) {
    setObjectName(QStringLiteral("FrmAbout"));
    SetClientSize(418, 283);
    Design();
    connect(BtnOk, &TGlyphButton::Click, this, &TFrmAbout::BtnOkClick);
    connect(BtnSysClose, &TPictureButton::Click, this, &TFrmAbout::BtnSysCloseClick);
    connect(Label10, &TLabel::MouseDown, this, &TFrmAbout::Label10MouseDown);
    FCaptionDrag = new TCaptionDrag(Label10, this);
    Create();
}

// A window destroyed without being closed still releases its shadow.
TFrmAbout::~TFrmAbout() = default;

void TFrmAbout::Design() {
    FS = MakeControl<TImage>(this, "FS", 0, 0, 418, 283);
    FS->SetPicture(Art(QStringLiteral("about-skin")));
    RzLabel1 = MakeTitle(this, "RzLabel1", 32, 45, 32);
    RzLabel2 = MakeTitle(this, "RzLabel2", 74, 23, 11);
    RzURLLabel1 = MakeLink(this, "RzURLLabel1", 127, 128, HomepageAddress(), HomepageAddress());
    RzURLLabel2 = MakeLink(this, "RzURLLabel2", 147, 152, EmailAddress(),
                           QStringLiteral("mailto:") + EmailAddress());
    RzSeparator1 = MakeControl<TSeparator>(this, "RzSeparator1", 6, 228, 406, 1);
    RzSeparator1->SetColor(Qt::white);
    Label1 = MakeControl<TLabel>(this, "Label1", 97, 216, 244, 11);
    Label1->setFont(PixelFont(QStringLiteral("Tahoma"), 9));
    Label1->SetFontColor(QApplication::palette().color(QPalette::WindowText));
    Label1->SetAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Label1->SetCaption(RightsNotice());
    Label10 = MakeControl<TLabel>(this, "Label10", 0, 0, 418, 105);
    BtnOk = MakeControl<TGlyphButton>(this, "BtnOk", 163, 244, 93, 23);
    BtnOk->SetCaption(QStringLiteral("&Ok"));
    BtnOk->setDefault(true);
    BtnSysClose = MakeControl<TPictureButton>(this, "BtnSysClose", 366, 1, 40, 20);
    BtnSysClose->SetNormal(Art(QStringLiteral("frame-close")));
    BtnSysClose->SetHover(Art(QStringLiteral("frame-close-hover")));
    BtnSysClose->SetDown(Art(QStringLiteral("frame-close-down")));
    BtnSysClose->SetHint(QStringLiteral("Close"));
}

// Titles first, so that a language file applied afterwards may replace
// them; then the outline and the shadow.
void TFrmAbout::FormCreate() {
    RzLabel1->SetCaption(QStringLiteral("Vivizu"));
    RzLabel2->SetCaption(QString());
    ApplyRoundRegion(*this, FS->geometry());
    FShadow = CreateFormShadow(*this);
}

void TFrmAbout::FormClose() { FShadow.reset(); }

void TFrmAbout::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        BtnOk->click();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        // As the close picture: the window goes without a result.
        BtnSysCloseClick();
        return;
    }
    TForm::keyPressEvent(event);
}

void TFrmAbout::BtnOkClick() {
    SetModalResult(mrOk);
    Close();
}

void TFrmAbout::BtnSysCloseClick() { Close(); }

void TFrmAbout::Label10MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers /*shift*/, int x,
                                 int y) {
    FCaptionDrag->Begin(button, x, y);
}

void ShowAboutBox(QWidget* owner) {
    TFrmAbout about;
    if (CurrentLanguage != 0 && CurrentLanguage != NoLanguageChosen)
        ApplyLanguageFile(about, ProgramFolder() + LanguageFileName(CurrentLanguage));
    about.ShowModal(owner);
}

} // namespace vivizu
