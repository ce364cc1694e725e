// What the Wayland compositor of the session offers, for the services that depend on it (the
// application in front, the on-screen display). Asked through a short connection of our own,
// so the answer does not depend on whether Qt itself runs on Wayland or on XWayland.
#pragma once

#include <QStringList>

namespace mc {

// True when the session has a Wayland compositor to talk to (WAYLAND_DISPLAY is set).
bool waylandSession();

// The interface names the compositor announces (wl_compositor, zwlr_layer_shell_v1, ...);
// empty when no compositor can be reached or the program was built without Wayland support.
QStringList waylandGlobals();

// The desktop by XDG_CURRENT_DESKTOP: "gnome", "kde" or empty for any other.
QString desktopFamily();

} // namespace mc
