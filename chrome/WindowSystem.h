#pragma once
// Which window system the program asks Qt for. Rounded outlines, drop
// shadows and caption moves need a window system that lets a program place
// its own top-level windows: X11. Where a Wayland session also offers an X
// server (XWayland) and the user has not chosen a Qt platform, the program
// asks for X11; on Wayland alone it runs there, without shadows.
#include <string>
#include <vector>

namespace vivizu {

// "xcb" when qpaPlatform (QT_QPA_PLATFORM) is unset or empty, display
// (DISPLAY) names an X server and waylandDisplay (WAYLAND_DISPLAY) or
// sessionType (XDG_SESSION_TYPE "wayland") shows a Wayland session beside
// it; otherwise "" (Qt's own choice). Null stands for an unset variable.
std::string PreferredPlatform(const char* qpaPlatform, const char* display,
                              const char* waylandDisplay, const char* sessionType);

// The arguments to build the application object from: argv's argc
// entries, followed by "-platform xcb" when PreferredPlatform of the
// environment asks for it, then the terminating null.
std::vector<char*> ApplicationArguments(int argc, char** argv);

} // namespace vivizu
