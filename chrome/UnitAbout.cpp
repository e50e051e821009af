#include "chrome/UnitAbout.h"

namespace vivizu {

void ShowAboutBox(QWidget* /*owner*/) {}

} // namespace vivizu
