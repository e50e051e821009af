#pragma once
// The window as the open probes drive it: shown, with the open dialog
// answering path and message boxes answered silently.
#include "editor/MessageBox.h"
#include "editor/UnitMP3Editor.h"
#include "widgets/FileDialogBase.h"

#include <QCoreApplication>
#include <QString>

inline void AnswerOpenDialogsWith(vivizu::TFrmMP3Editor& form, const QString& path) {
    form.show();
    QCoreApplication::processEvents();
    vivizu::TFileDialogBase::SetExecuteHook([path](vivizu::TFileDialogBase& dialog) {
        dialog.SetFileName(path);
        return true;
    });
    vivizu::SetMessageBoxHook([](const QString&, const QString&, QMessageBox::Icon) {});
}
