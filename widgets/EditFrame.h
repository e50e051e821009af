#pragma once
// The look shared by TEdit and TMaskEdit: a flat one-pixel frame in the
// frame colour on white, dimmed and on light grey when disabled, the text
// two pixels in from the frame. Set through the palette and painted by the
// edit itself rather than by a style sheet, which would cost every edit a
// style sheet parse and its own style at start.
#include <QColor>
#include <QLineEdit>

namespace vivizu {

// Frame off and text margins; once, when the edit is made.
void SetUpEditFrame(QLineEdit& edit);

// The palette: text colours (enabled and disabled) and the background.
void ApplyEditColours(QLineEdit& edit, const QColor& text, const QColor& disabledText);

// The background, before QLineEdit paints the text.
void PaintEditBackground(QLineEdit& edit);

// The frame, after QLineEdit painted the text: in frame (the accent blue
// when frame is invalid), see-through when the edit is disabled.
void PaintEditFrame(QLineEdit& edit, QColor frame);

}  // namespace vivizu
