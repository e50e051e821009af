#pragma once
// TForm: the base of the program's windows.
//
// A borderless top-level window of a fixed client size, placed at the centre
// of the screen when it is first shown, in the program's font (Tahoma 11 px
// where installed, else the desktop's sans-serif at 11 px). A derived window
// overrides FormCreate and FormClose; FormCreate runs once, from Create() (call
// it at the end of the derived constructor) or at the latest before the first
// show. Exceptions from either hook go to the application's error report and
// the window goes on: it is still shown, or still closes.
//
// A window may also be shown modally (ShowModal): it is then centred on the
// window it is given, or on its parent window, and the call returns once
// the window has a modal result or has been hidden (closed).

#include <QPointer>
#include <QWidget>

#include "widgets/Control.h"

class QEventLoop;

namespace vivizu {

// Modal results of the program's windows.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

class TForm : public QWidget {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
  Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TForm(QWidget* parent = nullptr);
  // A window destroyed while it shows modally ends the wait (with mrCancel).
  ~TForm() override;

  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption) { setWindowTitle(caption); }

  int ClientWidth() const { return width(); }
  void SetClientWidth(int w) { SetClientSize(w, height()); }
  int ClientHeight() const { return height(); }
  void SetClientHeight(int h) { SetClientSize(width(), h); }
  // Fixes the window's client size: the user cannot resize it.
  void SetClientSize(int w, int h);

  // Runs FormCreate once, under the error report.
  void Create();
  bool Created() const { return FCreated; }

  // Closes the window (FormClose runs from the close event).
  void Close() { close(); }

  // Shows the window application-modal, centred on centreOn's window (by
  // default on its parent window; on the screen when it has neither), and
  // waits until a modal result is set or the window is hidden (closed).
  // Returns the modal result: mrNone when it ended without one, mrCancel
  // when the window was destroyed meanwhile.
  int ShowModal(QWidget* centreOn = nullptr);
  int ModalResult() const { return FModalResult; }
  // Sets the modal result; any result but mrNone ends a modal showing.
  void SetModalResult(int result);

  // The program's window font: Tahoma 11 px, or the desktop sans-serif at 11 px.
  static QFont WindowFont();

 protected:
  virtual void FormCreate() {}
  virtual void FormClose() {}
  // Runs once a modal showing is on screen, before the wait begins: the
  // place for putting the focus where the keyboard user expects it.
  virtual void ModalShown() {}
  // Whether a modal showing is waiting for its result.
  bool InModal() const { return FLoop != nullptr; }

  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CentreOnScreen();
  void CentreIn(const QRect& area);

  bool FCreated = false;
  bool FPlaced = false;
  QPointer<QWidget> FCentreOn;
  QEventLoop* FLoop = nullptr;
  int FModalResult = mrNone;
};

}  // namespace vivizu
