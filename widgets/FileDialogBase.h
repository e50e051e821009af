#pragma once
// TFileDialogBase: the common part of the open and save dialogs, a
// non-visual component: its properties describe the dialog, Execute() shows
// it modally and returns true when the user chose a file (then in FileName).
//
// Filter is written "Description|pattern;pattern|Description|pattern", e.g.
// "MP3(*.mp3)|*.mp3". Tests answer Execute through SetExecuteHook instead
// of showing a dialog.

#include <QObject>
#include <QString>

#include <functional>

namespace vivizu {

class TFileDialogBase : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Title READ Title WRITE SetTitle)
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
  Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
  Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
  Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
  Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)
  Q_PROPERTY(int Options READ Options WRITE SetOptions)
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

 public:
  // Option flags.
  enum Option {
    OverwritePrompt = 1 << 0,  // save: ask before replacing an existing file
    HideReadOnly = 1 << 1,     // no "open read-only" box (we never show one)
    EnableSizing = 1 << 2,     // the dialog may be resized (always so here)
    FileMustExist = 1 << 3,    // open: only existing files
    PathMustExist = 1 << 4,
  };

  using ExecuteHook = std::function<bool(TFileDialogBase&)>;

  explicit TFileDialogBase(QObject* owner = nullptr);

  QString Title() const { return FTitle; }
  void SetTitle(const QString& title) { FTitle = title; }
  QString Filter() const { return FFilter; }
  void SetFilter(const QString& filter) { FFilter = filter; }
  QString FileName() const { return FFileName; }
  void SetFileName(const QString& name) { FFileName = name; }
  // Added to a typed name that has no extension (".mp3" and "mp3" alike).
  QString DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const QString& ext) { FDefaultExt = ext; }
  QString InitialDir() const { return FInitialDir; }
  void SetInitialDir(const QString& dir) { FInitialDir = dir; }
  // 1-based index of the filter entry chosen first.
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int index) { FFilterIndex = index; }
  int Options() const { return FOptions; }
  void SetOptions(int options) { FOptions = options; }
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  virtual bool IsSaveDialog() const = 0;
  // The dialog chooses an existing folder instead of a file.
  virtual bool ChoosesFolder() const { return false; }

  // Shows the dialog (or asks the hook); true when a file was chosen.
  bool Execute();

  // "MP3(*.mp3)|*.mp3" becomes "MP3(*.mp3) (*.mp3)": Qt's filter form.
  static QString ToQtFilter(const QString& filter);

  // Test seam: while set, Execute returns what the hook returns and shows
  // nothing; the hook may set FileName. Pass {} to remove it.
  static void SetExecuteHook(ExecuteHook hook);

 private:
  QString FTitle, FFilter, FFileName, FDefaultExt, FInitialDir;
  int FFilterIndex = 1;
  int FOptions = 0;
  int FTag = 0;
};

}  // namespace vivizu
