#pragma once
// The program's start-up before its main window, shared by the program's
// entry and the start-up benchmark, so that the benchmark times what the
// program really does.

namespace vivizu {

class TApplication;

// Readies the process and the application object for the main window: a
// write past the file size limit fails with an error instead of ending the
// process, a signal that ends it removes an unfinished save, the application
// gets its title and name, and the compiled-in pictures and the window icon
// are set up.
void PrepareProgram(TApplication& app);

} // namespace vivizu
