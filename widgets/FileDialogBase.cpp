#include "widgets/FileDialogBase.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace vivizu {

namespace {

TFileDialogBase::ExecuteHook& Hook() {
  static TFileDialogBase::ExecuteHook hook;
  return hook;
}

}  // namespace

TFileDialogBase::TFileDialogBase(QObject* owner) : QObject(owner) {}

void TFileDialogBase::SetExecuteHook(ExecuteHook hook) { Hook() = std::move(hook); }

QString TFileDialogBase::ToQtFilter(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(u';', u' ');
    entries.append(QStringLiteral("%1 (%2)").arg(parts[i], patterns.simplified()));
  }
  return entries.join(QStringLiteral(";;"));
}

bool TFileDialogBase::Execute() {
  if (Hook()) return Hook()(*this);

  auto* parentWidget = qobject_cast<QWidget*>(parent());
  if (!parentWidget) parentWidget = QApplication::activeWindow();
  QFileDialog dialog(parentWidget, FTitle);
  dialog.setAcceptMode(IsSaveDialog() ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // An open dialog takes a typed name that does not exist unless asked not
  // to: opening it then fails with the file system's own message.
  const bool mustExist = !IsSaveDialog() && (FOptions & FileMustExist);
  dialog.setFileMode(ChoosesFolder() ? QFileDialog::Directory
                     : mustExist     ? QFileDialog::ExistingFile
                                     : QFileDialog::AnyFile);
  if (ChoosesFolder()) dialog.setOption(QFileDialog::ShowDirsOnly);
  if (IsSaveDialog() && !(FOptions & OverwritePrompt)) {
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  }
  const QString qtFilter = ToQtFilter(FFilter);
  // The list shows each filter's own description, as it is written; its
  // patterns are not appended to it a second time.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (!qtFilter.isEmpty()) {
    const QStringList filters = qtFilter.split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    if (FFilterIndex >= 1 && FFilterIndex <= filters.size()) {
      dialog.selectNameFilter(filters[FFilterIndex - 1]);
    }
  }
  if (!FDefaultExt.isEmpty()) dialog.setDefaultSuffix(FDefaultExt);
  if (!FInitialDir.isEmpty()) {
    dialog.setDirectory(FInitialDir);
  } else if (!FFileName.isEmpty()) {
    dialog.setDirectory(QFileInfo(FFileName).absolutePath());
  }
  if (!FFileName.isEmpty()) dialog.selectFile(QFileInfo(FFileName).fileName());

  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  FFileName = chosen.first();
  return true;
}

}  // namespace vivizu
