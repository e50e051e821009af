#include "editor/MessageBox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <utility>

namespace vivizu {

namespace {
TMessageBoxHook& Hook() {
    static TMessageBoxHook hook;
    return hook;
}
TQuestionBoxHook& QuestionHook() {
    static TQuestionBoxHook hook;
    return hook;
}
} // namespace

void SetQuestionBoxHook(TQuestionBoxHook hook) { QuestionHook() = std::move(hook); }

bool AskMessageBox(QWidget* parent, const QString& text, const QString& caption) {
    if (QuestionHook())
        return QuestionHook()(text, caption);
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool AskReplaceFile(QWidget* parent, const QString& path, const QString& caption) {
    if (!QFileInfo::exists(path))
        return true;
    return AskMessageBox(
        parent,
        QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
            .arg(QFileInfo(path).fileName()),
        caption);
}

void SetMessageBoxHook(TMessageBoxHook hook) { Hook() = std::move(hook); }

void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                    QMessageBox::Icon icon) {
    if (Hook()) {
        Hook()(text, caption, icon);
        return;
    }
    QMessageBox box(icon, caption, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace vivizu
