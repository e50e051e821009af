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

} // namespace vivizu
