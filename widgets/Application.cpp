#include "widgets/Application.h"

#include <QMessageBox>
#include <QWidget>

namespace vivizu {

namespace {

// The test seam of the error report; empty in the program.
TApplication::ReportHook& Hook() {
  static TApplication::ReportHook hook;
  return hook;
}

}  // namespace

QString ErrorReportText(const QString& message) {
  if (!message.isEmpty() && message.back().unicode() > u'.') return message + u'.';
  return message;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ReportException(error);
  } catch (...) {
    ReportError(QStringLiteral("Unknown error"));
  }
  return false;
}

void TApplication::Minimize() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && w->isWindow()) w->showMinimized();
  }
}

QString TApplication::ReportCaption() {
  if (auto* app = qobject_cast<TApplication*>(QCoreApplication::instance())) {
    if (!app->Title().isEmpty()) return app->Title();
  }
  return QCoreApplication::applicationName();
}

void TApplication::ReportException(const std::exception& error) {
  ReportError(QString::fromUtf8(error.what()));
}

void TApplication::ReportError(const QString& message) {
  const QString caption = ReportCaption();
  const QString text = ErrorReportText(message);
  if (Hook()) {
    Hook()(caption, text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  // The message as it is: a path or system text with "<" is not markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void TApplication::SetReportHook(ReportHook hook) { Hook() = std::move(hook); }

}  // namespace vivizu
