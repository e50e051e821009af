#include "chrome/WindowSystem.h"

#include <cstdlib>
#include <cstring>

namespace vivizu {

namespace {

bool Set(const char* value) { return value && *value; }

} // namespace

std::string PreferredPlatform(const char* qpaPlatform, const char* display,
                              const char* waylandDisplay, const char* sessionType) {
    if (Set(qpaPlatform) || !Set(display))
        return {};
    const bool wayland = Set(waylandDisplay) || (sessionType && std::strcmp(sessionType, "wayland") == 0);
    return wayland ? "xcb" : "";
}

std::vector<char*> ApplicationArguments(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    const std::string platform =
        PreferredPlatform(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                          std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE"));
    if (platform == "xcb") {
        // Qt takes its own options out of the list; the texts live for the
        // whole run.
        static char option[] = "-platform";
        static char name[] = "xcb";
        args.push_back(option);
        args.push_back(name);
    }
    args.push_back(nullptr);
    return args;
}

} // namespace vivizu
