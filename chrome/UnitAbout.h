#pragma once
// The About window.
class QWidget;

namespace vivizu {

// Shows the About window modally over owner. Not built yet: does nothing.
void ShowAboutBox(QWidget* owner);

} // namespace vivizu
