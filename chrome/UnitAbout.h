#pragma once
// The About window: the program's name and version, a homepage link, an
// e-mail link and the notice of rights, on a skinned borderless window with
// a rounded outline and a drop shadow. A fresh window is made for every
// showing, so it always starts from its built-in texts.
#include "widgets/Form.h"

#include <QString>
#include <memory>

namespace vivizu {

class TCaptionDrag;
class TFormShadow;
class TGlyphButton;
class TImage;
class TLabel;
class TPictureButton;
class TSeparator;
class TURLLabel;

// The addresses the links open, as the build sets them, and the notice of
// rights.
QString HomepageAddress();
QString EmailAddress();
QString RightsNotice();

class TFrmAbout : public TForm {
    Q_OBJECT

public:
    explicit TFrmAbout(QWidget* parent = nullptr);
    ~TFrmAbout() override;

    // The window's components, bottom to top. Qt parenting owns them.
    TImage* FS = nullptr;               // skin picture, also the outline
    TLabel* RzLabel1 = nullptr;         // product name
    TLabel* RzLabel2 = nullptr;         // second title line
    TURLLabel* RzURLLabel1 = nullptr;   // homepage link
    TURLLabel* RzURLLabel2 = nullptr;   // e-mail link
    TSeparator* RzSeparator1 = nullptr;
    TLabel* Label1 = nullptr;           // notice of rights
    TLabel* Label10 = nullptr;          // caption strip: drags the window
    TGlyphButton* BtnOk = nullptr;      // default button: Enter presses it
    TPictureButton* BtnSysClose = nullptr;

    // The window's shadow, from FormCreate to FormClose.
    TFormShadow* Shadow() const { return FShadow.get(); }

    // Shown modally (ShowModal, centred on the window it is given, on the
    // screen without one), the window ends with mrOk when closed through
    // BtnOk (Enter presses it) and with mrNone when closed otherwise (the
    // close picture); Escape does nothing.
    void BtnOkClick();
    void BtnSysCloseClick();
    void Label10MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void FormCreate() override;
    void FormClose() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Design();

    std::unique_ptr<TFormShadow> FShadow;
    TCaptionDrag* FCaptionDrag = nullptr;
};

// Shows a new About window modally over owner, in the current language
// (its built-in English texts for English and for no choice), and releases
// it when it has been closed.
void ShowAboutBox(QWidget* owner);

} // namespace vivizu
