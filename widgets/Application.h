#pragma once
// The application object and its top-level error report.
//
// An exception that escapes a handler of any window must not end the
// program: the application shows it in an error box captioned with the
// application title and goes on serving events. The toolkit's controls call
// their handlers through GuardedCall, so exceptions are caught in our own
// code before they could unwind through Qt's frames; notify() is the
// backstop for anything thrown elsewhere on the event path.

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>
#include <utility>

namespace vivizu {

// The text of an error report: the message with "." appended when it is not
// empty and its last character's code is above that of "." (so "failed"
// becomes "failed." while "done.", "stop!" and "(x)" stay as they are).
QString ErrorReportText(const QString& message);

class TApplication : public QApplication {
  Q_OBJECT
  Q_PROPERTY(QString Title READ Title WRITE SetTitle)

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The application title: the caption of error reports.
  QString Title() const { return FTitle; }
  void SetTitle(const QString& title) { FTitle = title; }

  // Minimises every visible top-level window of the program.
  static void Minimize();

  // Reports an exception (or a bare message) the way an escaped exception is
  // reported: an error box with the title as caption and ErrorReportText of
  // the message, or the report hook when one is set.
  static void ReportException(const std::exception& error);
  static void ReportError(const QString& message);

  // The caption reports use: the title of the TApplication instance, or the
  // application name when the running application is a plain QApplication.
  static QString ReportCaption();

  // Test seam: when set, reports go to the hook instead of a modal box.
  using ReportHook = std::function<void(const QString& caption, const QString& text)>;
  static void SetReportHook(ReportHook hook);

 private:
  QString FTitle;
};

// Runs f, reporting any exception it throws through the application's error
// report. Controls use this around every handler they call.
template <class F>
void GuardedCall(F&& f) {
  try {
    std::forward<F>(f)();
  } catch (const std::exception& error) {
    TApplication::ReportException(error);
  } catch (...) {
    TApplication::ReportError(QStringLiteral("Unknown error"));
  }
}

}  // namespace vivizu
