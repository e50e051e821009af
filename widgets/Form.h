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

#include <QWidget>

#include "widgets/Control.h"

namespace vivizu {

class TForm : public QWidget {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
  Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TForm(QWidget* parent = nullptr);

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

  // The program's window font: Tahoma 11 px, or the desktop sans-serif at 11 px.
  static QFont WindowFont();

 protected:
  virtual void FormCreate() {}
  virtual void FormClose() {}

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CentreOnScreen();

  bool FCreated = false;
  bool FPlaced = false;
};

}  // namespace vivizu
