// Placeholder for the marker code: keeps the window building until the
// selection unit defines ResetMarkers. Delete this file then.
#include "editor/UnitMP3Editor.h"

namespace vivizu {

void TFrmMP3Editor::ResetMarkers(bool /*enabled*/) {}

} // namespace vivizu
