// The window system the program asks for.
#include "chrome/WindowSystem.h"

#include <gtest/gtest.h>

using namespace vivizu;

TEST(WindowSystem, X11IsChosenBesideWaylandOnlyWhenTheUserChoseNothing) {
    // Wayland session with XWayland: X11.
    EXPECT_EQ(PreferredPlatform(nullptr, ":0", "wayland-0", "wayland"), "xcb");
    EXPECT_EQ(PreferredPlatform("", ":0", "wayland-0", nullptr), "xcb");
    EXPECT_EQ(PreferredPlatform(nullptr, ":0", nullptr, "wayland"), "xcb");
    // The user's choice stands.
    EXPECT_EQ(PreferredPlatform("wayland", ":0", "wayland-0", "wayland"), "");
    EXPECT_EQ(PreferredPlatform("offscreen", ":0", "wayland-0", nullptr), "");
    // Wayland alone, or X11 alone: Qt's own choice.
    EXPECT_EQ(PreferredPlatform(nullptr, nullptr, "wayland-0", "wayland"), "");
    EXPECT_EQ(PreferredPlatform(nullptr, "", "wayland-0", "wayland"), "");
    EXPECT_EQ(PreferredPlatform(nullptr, ":0", nullptr, "x11"), "");
}

TEST(WindowSystem, ArgumentsKeepTheProgramsOwnAndEndInNull) {
    char program[] = "vivizu";
    char* argv[] = {program, nullptr};
    const std::vector<char*> args = ApplicationArguments(1, argv);
    ASSERT_GE(args.size(), 2u);
    EXPECT_EQ(args.front(), program);
    EXPECT_EQ(args.back(), nullptr);
    // The test runs with QT_QPA_PLATFORM set: nothing is added.
    EXPECT_EQ(args.size(), 2u);
}
