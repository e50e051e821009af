#pragma once
// The windows' own message boxes: a text, a caption and an icon, one OK
// button. Tests answer them through a hook instead of a modal box.
#include <QMessageBox>
#include <QString>
#include <functional>

namespace vivizu {

// Shows a modal box over parent. Line breaks may be written "\r\n".
void ShowMessageBox(QWidget* parent, const QString& text, const QString& caption,
                    QMessageBox::Icon icon);

// Test seam: while set, boxes go to the hook and nothing is shown.
using TMessageBoxHook =
    std::function<void(const QString& text, const QString& caption, QMessageBox::Icon icon)>;
void SetMessageBoxHook(TMessageBoxHook hook);

// Asks a question with Yes and No buttons and the warning icon; true for
// Yes. No is the default, as a press of Enter should not replace a file.
bool AskMessageBox(QWidget* parent, const QString& text, const QString& caption);

// Whether an existing file at path may be replaced: asked in Qt's own words
// (so in the chosen language), No by default; true when nothing is there.
bool AskReplaceFile(QWidget* parent, const QString& path, const QString& caption);

// Test seam: while set, questions go to the hook, which answers them.
using TQuestionBoxHook = std::function<bool(const QString& text, const QString& caption)>;
void SetQuestionBoxHook(TQuestionBoxHook hook);

} // namespace vivizu
