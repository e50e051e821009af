#pragma once
// The main window's design: every control with its component name,
// position, size, design texts, colours and start state, in one place.
namespace vivizu {

class TFrmMP3Editor;
class TTabSheet;

// Creates the window's components as children of form and stores them in
// its component fields. Binds no handlers.
void DesignFrmMP3Editor(TFrmMP3Editor& form);
// The two pages of the tag and information panel, as part of the above.
void DesignStandardPage(TFrmMP3Editor& form, TTabSheet* page);
void DesignTagPage(TFrmMP3Editor& form, TTabSheet* page);

} // namespace vivizu
