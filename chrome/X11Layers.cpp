#include "chrome/X11Layers.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <string>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#include <cstdlib>
#endif

namespace vivizu {

namespace {

#if QT_CONFIG(xcb)

xcb_connection_t* Connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The root window and the child of the root that holds window.
struct TTopLevel {
    xcb_window_t Root = XCB_NONE;
    xcb_window_t Window = XCB_NONE;
};

TTopLevel TopLevelOf(xcb_connection_t* c, xcb_window_t window) {
    TTopLevel result;
    for (int depth = 0; depth < 16 && window != XCB_NONE; ++depth) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
        if (!tree)
            return {};
        result.Root = tree->root;
        const xcb_window_t parent = tree->parent;
        std::free(tree);
        if (parent == result.Root || parent == XCB_NONE) {
            result.Window = window;
            return result;
        }
        window = parent;
    }
    return {};
}

// The number of the screen whose root window is root.
int ScreenNumber(xcb_connection_t* c, xcb_window_t root) {
    int number = 0;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it), ++number) {
        if (it.data->root == root)
            return number;
    }
    return 0;
}

bool CompositorRunning(xcb_connection_t* c, xcb_window_t nearWindow) {
    const TTopLevel top = TopLevelOf(c, nearWindow);
    const int screen = top.Root != XCB_NONE ? ScreenNumber(c, top.Root) : 0;
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
    std::free(atom);
    const bool running = owner && owner->owner != XCB_NONE;
    std::free(owner);
    return running;
}

#endif

} // namespace

bool TranslucentWindowsAvailable(const QWidget& nearWindow) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen"))
        return true;
#if QT_CONFIG(xcb)
    if (xcb_connection_t* c = Connection()) {
        // A window not made yet is not made here: its screen is then the
        // first one.
        const QWidget* top = nearWindow.window();
        const xcb_window_t window = top->testAttribute(Qt::WA_WState_Created)
            ? static_cast<xcb_window_t>(top->winId()) : XCB_NONE;
        return CompositorRunning(c, window);
    }
#else
    (void)nearWindow;
#endif
    return false;
}

void StackBelow(QWindow& window, const QWidget& owner) {
#if QT_CONFIG(xcb)
    xcb_connection_t* c = Connection();
    if (!c || !window.handle() || !owner.window()->testAttribute(Qt::WA_WState_Created))
        return;
    const TTopLevel top = TopLevelOf(c, static_cast<xcb_window_t>(owner.window()->winId()));
    if (top.Window == XCB_NONE)
        return;
    const uint32_t values[] = {top.Window, XCB_STACK_MODE_BELOW};
    // A refusal (the owner's frame changed meanwhile) only leaves the order
    // as it was; the error is taken here instead of going to the log.
    xcb_generic_error_t* error = xcb_request_check(
        c, xcb_configure_window_checked(c, static_cast<xcb_window_t>(window.winId()),
                                        XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE,
                                        values));
    std::free(error);
#else
    (void)window;
    (void)owner;
#endif
}

} // namespace vivizu
