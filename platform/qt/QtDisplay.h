#pragma once
// What the Qt backend needs to know about the display before Qt starts: whether one can be opened at
// all (Qt aborts on a named display it cannot open), and whether a window manager hands out focus.

namespace permora {

// True when DISPLAY names an X display that accepts a connection, or WAYLAND_DISPLAY names a
// compositor socket that accepts one.
bool DisplayCanBeOpened();

// True when the X display of DISPLAY has a window manager (one that announces itself the
// EWMH way). False without X or without a window manager, as on a bare Xvfb.
bool X11WindowManagerRunning();

}  // namespace permora
